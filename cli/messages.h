// The language of the command line's texts. The runs and the audio
// component speak Chinese, as the window shows them; under a non-Chinese
// locale (LANG=C, en_US.UTF-8, ...) the front end gives them in English.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// True unless the message locale (LC_ALL, then LC_MESSAGES, then LANG; the
// first one set) names a language other than Chinese.
bool ChineseMessages();

// The front end's own texts, in both languages.
std::string Tr(std::string_view chinese, std::string_view english);

// A text of the runs, the tag step or the audio component in the user's
// language: unchanged for Chinese, otherwise its known phrases in English.
std::string UserText(const std::string& chinese);

// Writes "tonvara-cli: " and the text in the user's language as one line (or
// lines) on standard error.
void PrintProblem(const std::string& chinese);

}  // namespace cli
