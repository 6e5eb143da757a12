#pragma once

// Menus as tables of command ids and captions, as a menu resource lists
// them: popups nest, separators split groups, and a WindowList item marks
// where the Window menu lists the open child windows.
//
//   const MenuTable kMainMenu{
//       Popup("&File", {Command(ID_FILE_OPEN, "&Open..."), Separator(), Command(ID_APP_EXIT, "E&xit")}),
//       Popup("&Window", {Command(ID_WINDOW_CASCADE, "&Cascade"), WindowList()}),
//   };

#include <string>
#include <vector>

namespace platform {

struct MenuItem {
    enum class Type { Command, Popup, Separator, WindowList };
    Type type = Type::Command;
    int id = 0;
    std::string caption;
    std::vector<MenuItem> items;
};

using MenuTable = std::vector<MenuItem>;

MenuItem Command(int id, std::string caption);
MenuItem Popup(std::string caption, std::vector<MenuItem> items);
MenuItem Separator();
MenuItem WindowList();

// The captions of one menu level as the menu shows them, each with a
// keyboard mnemonic: a caption's own "&" stays; the framework's File, Edit,
// Window and Help menus and their commands take their usual letters (E&xit,
// Print Pre&view); every other item, in order, the first letter of its
// words, else of its text, that no item of the level has taken, an earlier
// item moving to another of its letters where that lets a later one have
// a letter at all. "&&" stays a shown "&".
std::vector<std::string> MenuCaptionsWithMnemonics(const std::vector<MenuItem>& items);

}  // namespace platform
