#pragma once

// The parameter file qordata.par: how to reach the remote price server (port,
// line speed, telephone number, modem commands, network, dialogue script,
// turnaround time, remote user and password). The file holds one or more call
// sets; the reader takes the settings of the selected set into variables
// (variables.h), fills in defaults, checks single-valued settings and
// unscrambles the scrambled ones. The session, the serial layer and the
// dialogue scripts then read the settings only as variables.
//
// The file is chosen by the environment variable CALLSFILE, else by the path
// the library builds from VEXA.INI; the set by CALLSET, else "standard".

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace feed {

// Error codes of the parameter reader.
inline constexpr int kErrParamsOpen = -107;       // the parameter file cannot be opened
inline constexpr int kErrCallSetMissing = -110;   // the selected call set has no setting
inline constexpr int kErrSettingRequired = -111;  // a required setting is empty
inline constexpr int kErrSettingSingle = -112;    // a single-valued setting holds a list
inline constexpr int kErrParamsSyntax = -141;     // a line without "=" or a value that does not parse
inline constexpr int kErrDefaultFailed = -182;    // a default could not be set

// One row of a settings table.
struct SettingRow {
    enum Kind { kOptional = 0, kRequired = 1, kDefaulted = 2, kScrambled = 3 };
    const char* setting;   // as written in the file, matched without regard to case
    const char* variable;  // the variable it fills
    bool single;           // may hold only one element
    Kind kind;
    const char* default_text;  // value text for kDefaulted rows; nullptr: stays empty
};

std::span<const SettingRow> CallTable();
std::span<const SettingRow> PortTable();

// The value of CALLSFILE when it is set, else the default path.
std::string md_params_path(std::string_view default_path);

// Reads the parameter file at `path` (kept in %!CFN) into variables. True
// when the settings were taken without error; else false with the error
// reported (error cell set).
bool md_read_params(std::string_view path);

// Checks one table row by row: single values, scrambled values and defaults.
// 0, or the first error code reported.
int md_check_settings(std::span<const SettingRow> table);

// The connect pre-check: reads the parameter file (CALLSFILE or `path`) with
// escapes off and, when that succeeded, lets the session open the serial port
// and close it again. Always 0.
int md_check_port(std::string_view path);

// Opens a file with fopen as named; failing that, the same name in the
// directory of the parameter file in use (%!CFN). nullptr when neither opens.
std::FILE* md_open_in_dirs(std::string_view name, const char* mode);

}  // namespace feed
