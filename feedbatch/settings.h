#pragma once

// The batch program's settings in the profile file VEXA.INI (named without a
// directory, so it lives in the configuration folder), and the names built
// from them.
//
//   [config] home_dir      the folder of the parameter file and of vexa.log
//   [files]  logfile appendlog inputfile outputfile appendoutput
//   [app]    debug usetimer waittime waitdate

#include <string>
#include <string_view>

namespace feedbatch {

inline constexpr const char* kProfileFile = "VEXA.INI";
// Values are read at most this long unless a key has its own limit.
inline constexpr std::size_t kValueLimit = 499;

// A value of VEXA.INI cut to `limit` characters; the default when the key is
// missing (a key present with an empty value reads as empty).
std::string ReadSetting(std::string_view section, std::string_view key, std::string_view default_value,
                        std::size_t limit = kValueLimit);
// A whole number of VEXA.INI (its leading digits); the default when missing.
int ReadSettingInt(std::string_view section, std::string_view key, int default_value);

// Yes-or-no values are yes when they begin with Y or y.
bool IsYes(std::string_view value);

// A file of the home directory. The settings were written for a system whose
// separator is "\", so "\" counts as one; a directory without a closing
// separator gets "/" (rather than running into the file name), and an empty
// one gives the bare name.
std::string HomeFile(std::string_view home_dir, std::string_view file);
// A file name of the settings as this system opens it ("\" turned into "/").
std::string HostPath(std::string_view name);

// The end of the window title for the data feed's call type: " (TCP/IP)" for
// "tcpip" in any case, " (Dial-Up)" for anything else.
std::string TitleSuffix(std::string_view call_type);

}  // namespace feedbatch
