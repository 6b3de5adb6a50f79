#include "master/MasterServerAddress.h"

#include <cstdio>

namespace brimlo {

namespace {

// Letters, digits and "-._~" stand as they are in a URI; everything else,
// "@", ":" and "/" among them, is percent-encoded so that it cannot be
// taken for a separator.
std::string Encoded(const std::string& part) {
    std::string out;
    for (const char c : part) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", u);
            out += hex;
        }
    }
    return out;
}

// An IPv6 address goes in brackets, which are no part to encode.
std::string HostPart(const std::string& host) {
    if (host.find(':') != std::string::npos)
        return "[" + host + "]";
    return Encoded(host);
}

} // namespace

bool MasterServerAddress::complete() const {
    return !host.empty() && !database.empty() && port > 0 && port <= 65535;
}

std::string MasterServerAddress::uri() const {
    std::string out = "postgresql://";
    if (!user.empty())
        out += Encoded(user) + "@";
    out += HostPart(host) + ":" + std::to_string(port) + "/" + Encoded(database);
    return out;
}

bool IsMasterServerUri(std::string_view text) {
    return text.starts_with("postgresql://") || text.starts_with("postgres://");
}

} // namespace brimlo
