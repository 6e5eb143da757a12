#include "shell/commands.h"

#include "platform/main_frame.h"
#include "shell/main_frame.h"

namespace shell {
namespace {

std::map<int, CommandFunction>& Registry() {
    static std::map<int, CommandFunction> registry;
    return registry;
}

}  // namespace

void RegisterCommand(int id, CommandFunction action) {
    Registry()[id] = action;
    if (CMainFrame* frame = TheMainFrame()) frame->BindCommand(id, std::move(action));
}

void UnregisterCommand(int id) {
    Registry().erase(id);
    if (CMainFrame* frame = TheMainFrame()) frame->BindCommand(id, {});
}

const std::map<int, CommandFunction>& RegisteredCommands() {
    return Registry();
}

}  // namespace shell
