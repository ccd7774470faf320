// Writes the translation template: a translation file holding each text of xgettext's catalogue once,
// in the catalogue's order, with a blank replacement. Written through the program's own store, so the
// template is a file the program and its editor open like any other.
//
//   translation_template <catalogue.pot> <template.str>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "text/file_errors.h"
#include "text/text.h"
#include "translator/translation_file.h"

namespace {

// The catalogue is UTF-8 and so is the file: nothing to convert.
class Utf8Codec : public qz::TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view text) override { return std::string(text); }
  std::string Utf8ToAnsi(std::string_view text) override { return std::string(text); }
  // The catalogue holds no command line.
  std::string WideToAnsi(std::u16string_view) override { return {}; }
  std::u16string AnsiToWide(std::string_view) override { return {}; }
};

// The text of one quoted catalogue string, its C escapes undone; false when line is no quoted string.
bool Unquote(const std::string& line, std::string& out) {
  const std::size_t open = line.find('"'), close = line.rfind('"');
  if (open == std::string::npos || close <= open) return false;
  for (std::size_t i = open + 1; i < close; ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < close) {
      c = line[++i];
      if (c == 'n')
        c = '\n';
      else if (c == 'r')
        c = '\r';
      else if (c == 't')
        c = '\t';
      else if (c >= '0' && c <= '7') {  // octal, up to three digits
        int value = c - '0';
        for (int k = 0; k < 2 && i + 1 < close && line[i + 1] >= '0' && line[i + 1] <= '7'; ++k)
          value = value * 8 + (line[++i] - '0');
        c = static_cast<char>(value);
      }
    }
    out += c;
  }
  return true;
}

// The msgid texts of a catalogue, in its order; a text may run on over several quoted lines.
std::vector<std::string> ReadCatalogue(std::ifstream& in) {
  std::vector<std::string> texts;
  std::string line, text;
  bool inMsgid = false;
  const auto finish = [&] {
    if (inMsgid && !text.empty()) texts.push_back(text);
    inMsgid = false;
    text.clear();
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("msgid ")) {
      finish();
      inMsgid = Unquote(line, text);
    } else if (inMsgid && line.starts_with("\"")) {
      Unquote(line, text);
    } else {
      finish();
    }
  }
  finish();
  return texts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: translation_template <catalogue.pot> <template.str>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "translation_template: cannot read %s\n", argv[1]);
    return 1;
  }
  // The translator ignores trailing blanks, so texts that differ only there are one text.
  std::vector<qz::TranslationPair> pairs;
  std::set<std::string> seen;
  for (const std::string& text : ReadCatalogue(in)) {
    std::string source = qz::Clip(text);
    if (!source.empty() && seen.insert(source).second) pairs.push_back({source, ""});
  }
  std::remove(argv[2]);  // a template is made anew, never merged into an old one
  Utf8Codec codec;
  qz::TranslationFile file(codec);
  file.SetName(argv[2]);
  qz::FileError error = file.Create();
  if (error == qz::FileError::None) error = file.Open();
  if (error == qz::FileError::None) error = file.ReplaceAll(pairs);
  file.Close();
  if (error != qz::FileError::None) {
    std::fprintf(stderr, "translation_template: cannot write %s: %s\n", argv[2],
                 std::string(qz::ErrorText(error)).c_str());
    return 1;
  }
  std::printf("%s: %zu texts\n", argv[2], pairs.size());
  return 0;
}
