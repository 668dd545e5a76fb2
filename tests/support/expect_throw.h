// The one assertion for failures: the statement throws an exception of the type named
// (or one derived from it) whose message is exactly the text given, or matches the gmock
// matcher given.
//
//   EXPECT_THROW_MSG(rs.edit(), data::DataError, "Não há registro para alterar.");
//   ASSERT_THROW_MSG(open(path), db::DbError, HasSubstr("syntax error"));
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <string>
#include <typeinfo>

namespace qbk::testing {

// What went wrong, or "" when `statement` threw an E whose message `expected` accepts.
template <class E>
std::string throwMismatch(const std::function<void()>& statement,
                          const ::testing::Matcher<const std::string&>& expected,
                          const char* typeName) {
  try {
    statement();
  } catch (const E& e) {
    ::testing::StringMatchResultListener why;
    if (expected.MatchAndExplain(e.what(), &why)) return {};
    std::string out = std::string(typeName) + " with the message \"" + e.what() + "\"";
    ::std::stringstream wanted;
    expected.DescribeTo(&wanted);
    out += ", expected a message that " + wanted.str();
    if (!why.str().empty()) out += " (" + why.str() + ")";
    return out;
  } catch (const std::exception& e) {
    return std::string("another exception (") + typeid(e).name() + ") was thrown: \"" + e.what() +
           "\", expected " + typeName;
  } catch (...) {
    return std::string("something that is no std::exception was thrown, expected ") + typeName;
  }
  return std::string("nothing was thrown, expected ") + typeName;
}

}  // namespace qbk::testing

#define QBK_THROW_MSG_(statement, type, expected, fail)                               \
  do {                                                                                \
    const std::string qbk_mismatch_ = ::qbk::testing::throwMismatch<type>(            \
        [&] { statement; }, ::testing::Matcher<const std::string&>(expected), #type); \
    if (!qbk_mismatch_.empty()) fail() << #statement << ": " << qbk_mismatch_;        \
  } while (false)

#define EXPECT_THROW_MSG(statement, type, expected) \
  QBK_THROW_MSG_(statement, type, expected, ADD_FAILURE)
#define ASSERT_THROW_MSG(statement, type, expected) \
  QBK_THROW_MSG_(statement, type, expected, GTEST_FAIL)
