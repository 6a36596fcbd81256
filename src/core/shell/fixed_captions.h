#pragma once

#include <span>

namespace velarix {

// Captions that no key of the message table names but that show a message's
// text, and captions the language files do not reach (signs and names that
// read the same in every language). Controls are named by objectName.
struct MessageCaption {
    const char* object;
    int key;
};
struct FixedCaption {
    const char* object;
    const char* text;  // UTF-8
};

std::span<const MessageCaption> MessageCaptions();
std::span<const FixedCaption> FixedCaptions();

}  // namespace velarix
