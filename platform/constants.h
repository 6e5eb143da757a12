#pragma once

// Numbers that the window layer's callers pass and compare: dialog end codes
// and message box answers, message box styles, show commands, scroll codes
// and the framework's standard command ids. They keep the values the
// program's resources and routines were written with, so that a code stored
// in an int means the same thing everywhere.

namespace platform {

// Dialog end codes and message box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The id of controls that are never addressed (labels, frames).
inline constexpr int IDC_STATIC = -1;

// Message box buttons (low four bits).
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_TYPEMASK = 0xF;
// Message box icons; also the sound kinds of MessageBeep.
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;
// Which button is the default (first, second or third).
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFMASK = 0xF00;

// Show commands of ShowWindow.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_RESTORE = 9;

// The Close item of a window's system menu (PlainWindow::OnSysCommand).
inline constexpr int SC_CLOSE = 0xF060;

// Scroll requests carried by a scroll bar's Scroll notification.
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

// List and combo box results.
inline constexpr int LB_ERR = -1;
inline constexpr int CB_ERR = -1;

// Check states of check boxes and radio buttons.
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// Standard commands of the framework's menus. The main frame handles the
// Window menu's arrangement commands itself; the others are the program's
// to bind.
inline constexpr int ID_FILE_NEW = 0xE100;
inline constexpr int ID_FILE_OPEN = 0xE101;
inline constexpr int ID_FILE_CLOSE = 0xE102;
inline constexpr int ID_FILE_PRINT_SETUP = 0xE106;
inline constexpr int ID_FILE_PRINT = 0xE107;
inline constexpr int ID_FILE_PRINT_PREVIEW = 0xE108;
inline constexpr int ID_EDIT_COPY = 0xE122;
inline constexpr int ID_EDIT_CUT = 0xE123;
inline constexpr int ID_EDIT_PASTE = 0xE125;
inline constexpr int ID_EDIT_UNDO = 0xE12B;
inline constexpr int ID_WINDOW_ARRANGE = 0xE131;
inline constexpr int ID_WINDOW_CASCADE = 0xE132;
inline constexpr int ID_WINDOW_TILE_HORZ = 0xE133;
inline constexpr int ID_WINDOW_TILE_VERT = 0xE134;
inline constexpr int ID_APP_ABOUT = 0xE140;
inline constexpr int ID_APP_EXIT = 0xE141;

}  // namespace platform
