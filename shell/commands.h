#pragma once

// The main frame's command hook. The menus list every command of the
// program; what a command does is registered here by the subsystem that
// owns it (the dispatcher, the transaction and setup dialogs, pricing). A
// command with nothing registered shows disabled. Registrations made before
// the main frame exists are bound when it is made; later ones at once.

#include <functional>
#include <map>

namespace shell {

class CMainFrame;

using CommandFunction = std::function<void(CMainFrame& frame)>;

// Registers (or replaces) the action of a command id.
void RegisterCommand(int id, CommandFunction action);
// Takes the action of a command away again (the command shows disabled).
void UnregisterCommand(int id);
const std::map<int, CommandFunction>& RegisteredCommands();

}  // namespace shell
