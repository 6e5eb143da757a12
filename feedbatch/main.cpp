// VEXA32: the data-feed batch program. Its one argument is the show state of
// its window ("1" hidden, "2" minimised, "3" maximised, "4" minimised
// without activation); its settings are in VEXA.INI.

#include <QApplication>

#include "feed/dispatcher/rospa32.h"
#include "feedbatch/program.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);  // takes the Qt options out of argv
    return feedbatch::batch_win_main(argc > 1 ? argv[1] : "", ol_DataRequest);
}
