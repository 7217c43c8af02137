#include "stops_table/SysExImport.h"

#include "config/FileNames.h"
#include "stops_table/CodePage.h"

namespace kavel {

std::string syxFileName(const std::string& path) {
    std::string name = fileNameOf(path);
    if (name.size() >= 4) name.resize(name.size() - 4);
    // The file system names files in UTF-8; the table's names are in the Windows code page.
    return windows1252FromUtf8(name);
}

std::string deriveSwellCopy(std::string_view great) {
    constexpr unsigned char kEox = 0xF7;
    constexpr unsigned char kRoland = 0x41;
    std::string swell;
    if (great.size() < 10) return swell;
    std::size_t p = 0;
    // Positions counted from 1 within a message, as the module's manual counts them.
    while (p + 1 < great.size()) {
        const std::size_t end = great.find(static_cast<char>(kEox), p);
        if (end == std::string_view::npos) break; // no F7: nothing more is whole
        std::string message(great.substr(p, end - p));
        p = end + 1;
        // Only a Roland message carries a checksum to sign again: any other (a universal
        // message, another maker's) would lose its last byte, so it goes across unchanged.
        const std::size_t m = message.size();
        if (m < 7 || static_cast<unsigned char>(message[0]) != 0xF0 ||
            static_cast<unsigned char>(message[1]) != kRoland) {
            swell += message;
            swell.push_back(static_cast<char>(kEox));
            continue;
        }
        if (static_cast<unsigned char>(message[5]) == 0x48) message[5] = 0x58;
        if (m >= 18 && static_cast<unsigned char>(message[6]) < 0x18) message[17] = 1;
        // Bytes 1..5 kept, 6..m-1 summed, byte m (the old checksum) replaced.
        message.pop_back();
        unsigned sum = 0;
        for (std::size_t i = 5; i < message.size(); ++i)
            sum += static_cast<unsigned char>(message[i]);
        message.push_back(static_cast<char>((128 - sum % 128) % 128));
        message.push_back(static_cast<char>(kEox));
        swell += message;
    }
    return swell;
}

} // namespace kavel
