#pragma once

#include <string>
#include <vector>

// The host takes at most this many characters in one trader message and in
// the text of one SMS transaction.
const std::size_t kTraderMessagePartLength = 799;
const std::size_t kSmsPartLength = 479;

// The text cut from its start into pieces of at most partLength characters;
// an empty text is one empty piece, so an empty margin call still goes out.
std::vector<std::string> SplitIntoParts(const std::string& text, std::size_t partLength);

// The trader messages of one text, which travels unchanged.
std::vector<std::string> TraderMessageParts(const std::string& text);
// The SMS texts of one text, cleaned first (see SanitizeMessageText).
std::vector<std::string> SmsParts(const std::string& text);
