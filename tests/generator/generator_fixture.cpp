// tests/generator/generator_fixture.cpp: literal texts shared by the generator's tests.
#include "tests/generator/generator_fixture.h"

namespace test {

void TitleProperty(generator::Request& request) {
  request.sNom_Propriete = "Title";
  request.sNomVariable = "NewTitle";
  request.sTypeVariable = "String";
}

std::string Cr(std::string_view text) {
  std::string converted{text};
  for (char& c : converted) {
    if (c == '\n') c = '\r';
  }
  return converted;
}

std::string Saved(std::string_view text) {
  std::string saved;
  for (const char c : text) {
    saved += c;
    if (c == '\r') saved += '\n';
  }
  return saved;
}

std::string Header(std::string_view usage, std::string_view programmer) {
  std::string header{kStars};
  header += "\r' Utility: ";
  header += usage;
  header += "\r'\r' Functions called: \r' Functions calling: \r'\r'\r' Programmer's name: ";
  header += programmer;
  header += "\r' Creation date: Sunday 06 December 2026\r' Last modification:          by\r";
  header += kStars;
  header += '\r';
  return header;
}

std::string LabelledBody(std::string_view name, std::string_view word, std::string_view statements,
                         bool withEnd) {
  const std::string n{name};
  const std::string dashes{kDashes};
  std::string body = dashes + "\r'Local variables definition \r\r\r\r\r" + dashes +
                     "\r' Start \rOn Error Goto Error" + n + "\r\r\r\r" + Cr(statements) + dashes +
                     "\r'- End and exit\r" + n + "Next:\rExit " + std::string{word} + "\r\r\r" + dashes +
                     "\r'Error local traitment\rError" + n + ":\rMsgbox Err.Description, , \"" + n +
                     "\"\r       '-Resume\rResume " + n + "Next\r" + dashes + "\r'End";
  if (withEnd) body += "\rEnd " + std::string{word};
  return body;
}

}  // namespace test
