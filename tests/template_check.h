// What both template checks share: the texts of a translation file as the translator keys them, and the
// comparison of the texts a translator was asked for with the template the build made.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "text/text.h"
#include "translator/string_translator.h"
#include "translator/translation_file.h"

namespace qz::check {

// The sources of a translation file, each as the translator's key: its first 255 characters without
// trailing blanks. Every replacement must be blank and no key may come twice.
inline std::set<std::string> Keys(TextCodec& codec, const std::string& path) {
  TranslationFile file(codec);
  file.SetName(path);
  EXPECT_EQ(file.Open(), FileError::None) << path;
  std::set<std::string> keys;
  auto reader = file.Read();
  for (std::string source, replacement; reader.Next(source, replacement);) {
    EXPECT_TRUE(IsBlank(replacement)) << source;
    EXPECT_TRUE(keys.insert(Clip(Cut(source, StringTranslator::kFieldSize))).second) << "twice: " << source;
  }
  return keys;
}

// Fails with the list of asked texts the template lacks; asked gives each text with where it was asked for.
inline void ExpectInTemplate(const std::map<std::string, std::string>& asked, const std::set<std::string>& inTemplate) {
  std::string missing;
  for (const auto& [text, where] : asked)
    if (!inTemplate.count(text)) missing += "\n  " + text + "   (" + where + ")";
  EXPECT_TRUE(missing.empty()) << "translated but not in the translation template:" << missing;
}

}  // namespace qz::check
