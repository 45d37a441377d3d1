#pragma once
// The Pelmar-3 web server login as the device stores it: standard Base64 of the
// Windows-1251 bytes of "user:password". The device only knows that code page, so
// characters outside it cannot be part of a login (IsWindows1251Text tells).

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The Windows-1251 bytes of a UTF-8 text; a character the code page lacks becomes '?'.
std::string Utf8ToWindows1251(std::string_view utf8);
// The UTF-8 text of Windows-1251 bytes; the one unassigned byte (0x98) becomes '?'.
std::string Windows1251ToUtf8(std::string_view bytes);
// True when every character of the UTF-8 text has a Windows-1251 byte.
bool IsWindows1251Text(std::string_view utf8);

// Base64 of the Windows-1251 bytes of "user:password".
std::string EncodeWebLogin(std::string_view user, std::string_view password);

struct DecodedWebLogin {
    enum Status {
        kEmpty,   // nothing but blanks
        kInvalid, // not Base64
        kNoColon, // decodes to a text without ':'
        kOk,
    };
    Status status = kEmpty;
    std::string user;     // UTF-8, up to the first ':'
    std::string password; // UTF-8, after it
};
// Reads the stored form: blanks around it are ignored.
DecodedWebLogin DecodeWebLogin(std::string_view stored);

} // namespace vantor
