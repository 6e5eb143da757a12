#pragma once

// Delivery to the caller: the message callback the library installs at load.
// By channel it decides what reaches the caller's window (as a copy-data
// record {channel, length of the text plus its zero, text}, handled before
// the send returns) and what is copied to the LOG file:
//
//   0   trace control ("-none\r\n" silences 1, 3, 5 and 6)   never sent
//   1   error text "ERROR <code>: ..."                         always sent, logged
//   3   status text                                            sent with STATUS, logged
//   5,6 receive and send traces                                sent with DEBUG, logged
//   25  answer data, whole (BLOCK) and/or line by line (LINE)  never logged
//   any other channel is dropped.

#include <string>
#include <string_view>

namespace feed {

// The message callback. Returns the last send's result, or the channel.
int md_deliver(int channel, std::string_view text, int code);

// The outgoing text of a message: leading blanks skipped, "ERROR <code>: "
// first on channel 1, up to the first CR or LF, at most 999 characters.
std::string md_format_message(std::string_view text, int channel, int code);

}  // namespace feed
