#include "feed/dialup/messages.h"

#include <utility>

namespace feed {
namespace {

MessageCallback g_callback = nullptr;
int g_error_cell = 0;
std::string g_detail;

}  // namespace

MessageCallback md_set_message_callback(MessageCallback callback) {
    return std::exchange(g_callback, callback);
}

MessageCallback md_message_callback() {
    return g_callback;
}

int md_send_message(int channel, std::string_view text, int code) {
    return g_callback ? g_callback(channel, text, code) : 0;
}

int& ErrorCell() {
    return g_error_cell;
}

void md_set_error_detail(std::string_view detail) {
    g_detail.assign(detail);
}

std::string md_take_error_detail() {
    return std::exchange(g_detail, std::string());
}

}  // namespace feed
