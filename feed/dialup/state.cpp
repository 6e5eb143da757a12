#include "feed/dialup/state.h"

namespace feed {

LibraryState& State() {
    static LibraryState state;
    return state;
}

}  // namespace feed
