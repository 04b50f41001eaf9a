// The interface of a language library: one exported C function.
// It copies the UTF-8 text of string id `id` into buffer (at most size-1
// bytes, cut on a character boundary, always terminated) and returns the
// bytes copied; 0 when the id has no text.
#pragma once

extern "C" int LinkoraLoadString(unsigned int id, char* buffer, int size);

// The texts of this library, sorted by id; ends with {0, nullptr}.
struct LanguageText {
    unsigned int id;
    const char* text;
};
extern const LanguageText kLanguageTexts[];
