#pragma once
#include "text/FixedText.h"

constexpr char kLangFileName[] = "lang.ini";

// Looks a text up in the lang.ini beside the program (whatever the current
// folder) and writes it, cut to 259 characters, into `text`. A missing file,
// section or key gives the empty text. Returns `text`.
char* LookUpLangText(const char* section, const char* key, FixedText& text);

// The path of the lang.ini beside the program; false when no path to it fits
// in 260 bytes.
bool LangFilePath(FixedText& path);
