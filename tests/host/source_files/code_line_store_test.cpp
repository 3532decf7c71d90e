// Checks the store of a module's lines against a plain list of the same lines: lines inserted in
// place, chunks cut and added, and every line read back in an order that defeats the store's guess.
#include "host/source_files/code_line_store.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// Reads every line back, the last first, so that no read follows on from the one before.
void ExpectSameLines(const host::CodeLineStore& store, const std::vector<std::string>& model) {
  ASSERT_EQ(store.size(), model.size());
  for (std::size_t i = model.size(); i-- > 0;) {
    ASSERT_EQ(store[i], model[i]) << "line " << i;
    if (model[i][0] == 'n') {
      ASSERT_EQ(store.AddedBreak(store.at(i)), "\r\n") << "line " << i;
    }
  }
}

// Insertions where a generator makes them, again and again at one place (as properties go in ahead
// of the routines added before) and one line further on, and at random places, with every kind of
// line break: the store reads as the list after each.
TEST(CodeLineStoreTest, InsertionsAnywhereReadAsAPlainList) {
  std::string file;
  std::vector<std::string> model(1500);
  for (std::size_t i = 0; i < model.size(); ++i) model[i] = "f" + std::to_string(i);
  for (const std::string& line : model) file += line + "\r\n";
  host::CodeLineStore store{file};
  for (std::size_t i = 0, offset = 0; i < model.size(); offset += model[i].size() + 2, ++i) {
    host::StoredLine line{};
    line.offset = static_cast<std::uint32_t>(offset);
    line.length = static_cast<std::uint32_t>(model[i].size()) & host::kMostLineBytes;
    store.Append(line);
  }
  std::mt19937 random{7};
  constexpr const char* kBreaks[] = {"\r\n", "\n", "\r"};
  for (std::size_t edit = 0; edit < 300; ++edit) {
    const std::size_t at =
        edit % 3 == 2 ? std::uniform_int_distribution<std::size_t>(0, model.size())(random) : 600 + edit / 3;
    const std::size_t count = std::uniform_int_distribution<std::size_t>(1, 45)(random);
    std::string text;
    std::vector<std::string> added;
    for (std::size_t c = 0; c < count; ++c) {
      added.push_back("n" + std::to_string(edit) + "." + std::to_string(c));
      text += added.back() + (c + 1 < count ? kBreaks[c % 3] : "");
    }
    SCOPED_TRACE(testing::Message() << "edit " << edit << ", " << count << " lines at " << at);
    ASSERT_EQ(store.Insert(at, text, "\r\n"), count);
    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    ASSERT_NO_FATAL_FAILURE(ExpectSameLines(store, model));
  }
}

// Text that views the store's own added lines, as a caller copying lines from one place to another
// hands it: what it viewed is inserted, also when the added text must grow under the view meanwhile.
TEST(CodeLineStoreTest, TextViewingItsOwnAddedLinesIsInsertedAsItWas) {
  host::CodeLineStore store;
  ASSERT_EQ(store.Insert(0, "a\rbb", "\r\n"), 2U);
  std::vector<std::string> model{"a", "bb"};
  std::vector<std::string> added = model;  // in the order added
  std::size_t addedBytes = 7;              // each line with its CR LF
  for (std::size_t round = 0; round < 12; ++round) {
    // Every line added so far, with the breaks between them: "a" stays first, as each round goes after it.
    const std::string_view all{store[0].data(), addedBytes - 2};
    ASSERT_EQ(store.Insert(1, all, "\r\n"), added.size());
    model.insert(model.begin() + 1, added.begin(), added.end());
    const std::vector<std::string> before = added;
    added.insert(added.end(), before.begin(), before.end());
    addedBytes *= 2;
    ASSERT_NO_FATAL_FAILURE(ExpectSameLines(store, model)) << "round " << round;
  }
}

}  // namespace
