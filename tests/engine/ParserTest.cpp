#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "MessageBoxRecorder.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

// The engine with a small symbol table, decimal default radix and recorded
// message boxes.
class ParserTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    SavedSymbols = TheSymbols;
    TheSymbols = &Symbols;
    AddSymbol("main", 0x1234);
    AddSymbol("count", 5);
    AddSymbol("_start", 0x100);
    SetDefaultRadix('D');
  }
  void TearDown() override {
    SetDefaultRadix('D');
    TheSymbols = SavedSymbols;
    EngineFixture::TearDown();
  }
  void AddSymbol(const char* name, uint32_t value) {
    TSymbolRecord s{};
    s.Attributes = 1;
    s.Value = value;
    std::snprintf(s.Name, sizeof s.Name, "%s", name);
    Symbols.Add(&s);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : Recorder.Messages) {
      EXPECT_EQ(m.Caption, "Error");
      EXPECT_EQ(m.Flags, MB_ICONSTOP);
      texts.push_back(m.Text);
    }
    return texts;
  }

  TSymbols Symbols;
  TSymbols* SavedSymbols = nullptr;
  TMessageBoxRecorder Recorder;
};

struct NumberCase {
  char radix;
  const char* text;
  int result;
  uint32_t value;
};

TEST_F(ParserTest, Numbers) {
  const NumberCase cases[] = {
      {'D', "10", 0, 10},          {'H', "10", 0, 16},          {'D', "10H", 0, 16},        {'H', "10h", 0, 16},
      {'D', "101B", 0, 5},         {'H', "1B", 0, 1},           {'H', "12D", 0, 12},        {'D', "17O", 0, 15},
      {'O', "17", 0, 15},          {'B', "101", 0, 5},          {'D', "0FFH", 0, 255},      {'H', "0ff", 0, 255},
      {'D', " + 7", 0, 7},         {'D', "-5", 0, 0xFFFFFFFB},  {'D', "- 5", 0, 0xFFFFFFFB}, {'D', "4294967296", 0, 0},
      {'D', "0x10", -1, 0},        {'H', "0AB", -1, 0},         {'D', "8O", -1, 0},         {'B', "102", -1, 0},
      {'D', "12a", -1, 0},         {'D', "1 2", -1, 0},         {'D', "FFH", -2, 0},        {'D', "main", 0, 0x1234},
      {'D', "-main", 0, 0xFFFFEDCC}, {'D', "+count", 0, 5},     {'D', "Main", -2, 0},       {'D', "nosuch", -2, 0},
      {'D', "", -2, 0},            {'D', "main ", -2, 0},
  };
  for (const auto& c : cases) {
    SetDefaultRadix(c.radix);
    uint32_t value = 0;
    EXPECT_EQ(ParseNumber(c.text, value), c.result) << c.radix << " " << c.text;
    if (c.result == 0) {
      EXPECT_EQ(value, c.value) << c.radix << " " << c.text;
    }
  }
  EXPECT_TRUE(Recorder.Messages.empty());
}

TEST_F(ParserTest, Expressions) {
  const NumberCase cases[] = {
      {'D', "2+3*4", 0, 14},
      {'D', "(2+3)*4", 0, 20},
      {'D', "7/2", 0, 3},
      {'D', "-6/2", 0, 0x7FFFFFFD},
      {'D', "5+", 0, 5},
      {'D', "5*", 0, 0},
      {'D', "5+3-", 1, 0},
      {'D', "", 1, 0},
      {'D', "   ", 1, 0},
      {'D', "5 xyz", 0, 5},
      {'D', "8/2/2", 0, 2},
      {'D', "8/2*2", 0, 8},
      {'D', "2*3/4", 0, 1},
      {'D', "1+2*3-4/2", 0, 5},
      {'D', "2 + 3 * 4", 0, 14},
      {'D', "5\t+3", -1, 0},
      {'D', "5 \t+\t3", 0, 8},
      {'D', "2+-3", 0, 0xFFFFFFFF},
      {'D', "((1+2)*(3+4))", 0, 21},
      {'D', "(1+2", -1, 0},
      {'D', "()", 1, 0},
      {'D', "5++", 0, 6},
      {'D', "5--", 0, 4},
      {'D', "5++ +2", 0, 8},
      {'D', "5+=3", 0, 5},
      {'D', "6*=2", 0, 12},
      {'D', "7/=2", 0, 3},
      {'D', "10/0", -1, 0},
      {'D', "10/(2-2)", -1, 0},
      {'D', "4294967295+2", 0, 1},
      {'D', "0FFFFFFFFH*0FFFFFFFFH", 0, 1},
      {'D', "main+1", 0, 0x1235},
      {'D', "count*count", 0, 25},
      {'D', "main+nosuch", -2, 0},
      {'D', "2*x", -2, 0},
      {'D', "0x10+1", -1, 0},
      {'H', "10+10", 0, 32},
      {'H', "10+10D", 0, 26},
  };
  for (const auto& c : cases) {
    SetDefaultRadix(c.radix);
    uint32_t value = 0;
    EXPECT_EQ(EvalString(c.text, value), c.result) << c.text;
    if (c.result == 0) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST_F(ParserTest, ExpressionLeavesTheTextAfterWhatItUsed) {
  const char* text = "12+3 rest";
  uint32_t value = 0;
  ASSERT_EQ(EvalExpression(text, value), 0);
  EXPECT_EQ(value, 15u);
  EXPECT_STREQ(text, "rest");
  uint32_t untouched = 77;
  const char* bad = "zz";
  EXPECT_EQ(EvalExpression(bad, untouched), -2);
  EXPECT_STREQ(bad, "zz");
  EXPECT_EQ(untouched, 77u);
}

TEST_F(ParserTest, OverlongTextsFailInsteadOfOverrunning) {
  uint32_t value = 0;
  const std::string digits(255, '1');
  EXPECT_EQ(EvalString(("0" + std::string(254, '0') + "+1").c_str(), value), 0);
  EXPECT_EQ(value, 1u);
  EXPECT_EQ(EvalString(("0" + digits).c_str(), value), -1);  // a 256-character operand
  EXPECT_EQ(EvalString(("(" + std::string(255, '1') + ")").c_str(), value), 0);
  EXPECT_EQ(EvalString(("(" + std::string(256, '1') + ")").c_str(), value), -1);
  EXPECT_EQ(EvalString(("(" + std::string(300, '1') + ")").c_str(), value), -1);
  EXPECT_EQ(EvalString((std::string(200, '(') + "1" + std::string(200, ')')).c_str(), value), -1);
  EXPECT_EQ(EvalString((std::string(100, '(') + "1" + std::string(100, ')')).c_str(), value), 0);
  EXPECT_EQ(EvalString(std::string(100000, '(').c_str(), value), -1);
  EXPECT_EQ(EvalString(std::string(5000, '+').c_str(), value), -2);
  EXPECT_EQ(EvalString(nullptr, value), -1);
}

TEST_F(ParserTest, WordAndByteKeepTheLowBits) {
  uint16_t w = 0;
  uint8_t b = 0;
  EXPECT_EQ(EvalWord("12345H", w), 0);
  EXPECT_EQ(w, 0x2345);
  EXPECT_EQ(EvalByte("1FFH", b), 0);
  EXPECT_EQ(b, 0xFF);
  w = 9;
  EXPECT_EQ(EvalWord("", w), 1);
  EXPECT_EQ(w, 9);
}

TEST_F(ParserTest, OperatorsAndDelimiters) {
  const struct {
    const char* text;
    uint8_t code;
    const char* after;
  } ops[] = {{" +x", OP_ADD, "x"},       {"++x", OP_INCREMENT, "x"}, {"+=x", OP_ADD_ASSIGN, "x"},
             {"-x", OP_SUBTRACT, "x"},   {"--x", OP_DECREMENT, "x"}, {"-=x", OP_SUBTRACT_ASSIGN, "x"},
             {"*x", OP_MULTIPLY, "x"},   {"*=x", OP_MULTIPLY_ASSIGN, "x"}, {"/x", OP_DIVIDE, "x"},
             {"/=x", OP_DIVIDE_ASSIGN, "x"}, {"  x", OP_NONE, "x"},  {"", OP_NONE, ""}};
  for (const auto& o : ops) {
    const char* p = o.text;
    uint8_t code = 99;
    EXPECT_EQ(ReadOperator(p, code), o.code) << o.text;
    EXPECT_EQ(code, o.code);
    EXPECT_STREQ(p, o.after) << o.text;
  }
  EXPECT_EQ(ApplyOperator(7, OP_ADD_ASSIGN, 9), 7u);
  EXPECT_EQ(ApplyOperator(7, OP_NONE, 9), 7u);
  EXPECT_EQ(ApplyOperator(7, OP_DIVIDE, 0), 0u);

  const char* p = "  a;b,c";
  EXPECT_EQ(SkipToDelimiter(p, ",;"), 0);  // the set's order wins over the position
  EXPECT_STREQ(p, ",c");
  p = " abc";
  EXPECT_EQ(SkipToDelimiter(p, ",;"), -1);
  EXPECT_STREQ(p, "");
  p = "  ,x";
  EXPECT_EQ(AtDelimiter(p, ",;"), 0);
  EXPECT_STREQ(p, ",x");
  p = "   ";
  EXPECT_EQ(AtDelimiter(p, ",;"), -1);
  p = "\t\n x";
  EXPECT_EQ(SkipWhiteSpace(p), 'x');
}

struct AddressCase {
  const char* text;
  int result;
  uint8_t area;
  uint32_t address;
  const char* message;  // null: none
};

TEST_F(ParserTest, Addresses) {
  const AddressCase cases[] = {
      {"DATA:100", 0, 2, 100, nullptr},
      {"PCODE:8000H", 0, 0x81, 0x8000, nullptr},
      {"code:10", 0, 1, 10, nullptr},
      {"  CODE:10", 0, 1, 10, nullptr},
      {"UNTP:1", 0, 0, 1, nullptr},
      {"PUNTP:1", 0, 0x80, 1, nullptr},
      {"IO:5", 0, 8, 5, nullptr},
      {"auto:5", 0, 9, 5, nullptr},
      {"PDATA:123456H", 0, 0x82, 0x123456, nullptr},
      {"PCODE:12345678H", 0, 0x81, 0x345678, nullptr},
      {"12345H", 0, 1, 0x2345, nullptr},
      {"3,1234H", 0, 1, 0x31234, nullptr},
      {"DATA:2,0FFFFH", 0, 2, 0x2FFFF, nullptr},
      {"main", 0, 1, 0x1234, nullptr},
      {"XYZ:1", -1, 0, 0, "Incorrect area field"},
      {"DATA :1", -1, 0, 0, "Incorrect area field"},
      {":1", -1, 0, 0, "Incorrect area field"},
      {"DATA:", 1, 0, 0, "Incorrect address"},
      {"", 1, 0, 0, "Incorrect address"},
      {"nosuch", -2, 0, 0, "Incorrect address"},
      {"x,5", -2, 0, 0, "Incorrect address"},
      {",5", 1, 0, 0, "Incorrect address"},
      {"0x10", -1, 0, 0, "Incorrect address"},
  };
  for (const auto& c : cases) {
    Recorder.Messages.clear();
    uint8_t area = 0xEE;
    uint32_t address = 0xEEEE;
    EXPECT_EQ(ParseAddress(c.text, area, address, 1), c.result) << c.text;
    if (c.result == 0) {
      EXPECT_EQ(area, c.area) << c.text;
      EXPECT_EQ(address, c.address) << c.text;
    }
    EXPECT_EQ(Texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}) << c.text;
  }
}

TEST_F(ParserTest, AddressErrorsAreSilentWithoutReport) {
  uint8_t area = 0;
  uint32_t address = 0;
  EXPECT_EQ(ParseAddress("XYZ:1", area, address, 0), -1);
  EXPECT_EQ(ParseAddress("DATA:", area, address, 0), 1);
  EXPECT_EQ(ParseAddress(std::string(300, 'A').append(":1").c_str(), area, address, 0), -1);
  EXPECT_TRUE(Recorder.Messages.empty());
  EXPECT_EQ(ParseAddress(std::string(300, 'A').append(":1").c_str(), area, address, 1), -1);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Incorrect area field"});
}

struct ArgsCase {
  const char* format;
  const char* answer;
  int result;
  std::vector<uint8_t> bytes;  // the record's start
  const char* message;         // null: none
};

void CheckArgs(const std::vector<ArgsCase>& cases, TMessageBoxRecorder& recorder, size_t capacity = 64) {
  for (const auto& c : cases) {
    recorder.Messages.clear();
    std::vector<uint8_t> out(capacity, 0xEE);
    EXPECT_EQ(ParseArgs(c.format, c.answer, out.data(), out.size()), c.result) << c.format << " | " << c.answer;
    if (c.result == 0) {
      EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + c.bytes.size()), c.bytes)
          << c.format << " | " << c.answer;
    }
    std::vector<std::string> texts;
    for (const auto& m : recorder.Messages) {
      EXPECT_EQ(m.Caption, "Error");
      EXPECT_EQ(m.Flags, MB_ICONSTOP);
      texts.push_back(m.Text);
    }
    EXPECT_EQ(texts, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
        << c.format << " | " << c.answer;
  }
}

TEST_F(ParserTest, ArgumentLists) {
  CheckArgs(
      {
          {"A,D", "DATA:100,20", 0, {2, 100, 0, 0, 0, 20, 0, 0, 0}, nullptr},
          {"A,W", "PCODE:8000H,1234H", 0, {0x81, 0, 0x80, 0, 0, 0x34, 0x12}, nullptr},
          {"D,A,D", "1.CODE:2,3", 0, {1, 0, 0, 0, 1, 2, 0, 0, 0, 3, 0, 0, 0}, nullptr},
          {"B", "0FFH", 0, {0xFF}, nullptr},
          {"B", "256", -1, {}, "Value out of range"},
          {"W", "65536", -1, {}, "Value out of range"},
          {"W", "65535", 0, {0xFF, 0xFF}, nullptr},
          {"D", "-1", 0, {0xFF, 0xFF, 0xFF, 0xFF}, nullptr},
          {"D", "", -1, {}, "Syntax error"},
          {"D", "x", -1, {}, "Syntax error"},
          {"D,D", "1", -1, {}, "Syntax error"},
          {"A", "", 1, {}, "Incorrect address"},
          {"A,D", "FOO:1,2", -1, {}, "Incorrect area field"},
          {"A,D", "nosuch,2", -2, {}, "Incorrect address"},
          {"D.[H,L]", "100.h", 0, {100, 0, 0, 0, 1}, nullptr},
          {"D.[H,L]", "100,L", 0, {100, 0, 0, 0, 2}, nullptr},
          {"D.[H,L]", "100.HELLO", 0, {100, 0, 0, 0, 1}, nullptr},
          {"D.[H,L]", "100", 0, {100, 0, 0, 0, 2}, nullptr},
          {"D.[H,L]", "100.x", 0, {100, 0, 0, 0, 2}, nullptr},
          {"[AB,CD]", "a", 0, {2}, nullptr},
          {"[H,L,]", "x", 0, {0}, nullptr},
          {"[H,L,]", "l", 0, {2}, nullptr},
          {"D X D", "1,2,3", 0, {1, 0, 0, 0, 3, 0, 0, 0}, nullptr},
          {"D", "7,rest is ignored", 0, {7, 0, 0, 0}, nullptr},
          {"S", "   hello, world.", 0, {'h', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd', '.', 0}, nullptr},
          {"D,S", "1,", 0, {1, 0, 0, 0, 0}, nullptr},
      },
      Recorder);
}

TEST_F(ParserTest, Patterns) {
  CheckArgs(
      {
          {"P", "\"AB\"", 0, {2, 0, 0, 0, 0x41, 0x42}, nullptr},
          {"P", "  \"a,b.\" tail", 0, {4, 0, 0, 0, 'a', ',', 'b', '.'}, nullptr},
          {"P", "\"\"", 0, {0, 0, 0, 0}, nullptr},
          {"P", "\"AB", -1, {}, "Undelimited string"},
          {"P", "'x", 0, {1, 0, 0, 0, 'x'}, nullptr},
          {"P", "' ", 0, {1, 0, 0, 0, ' '}, nullptr},
          {"P", "  '", -1, {}, "Syntax error"},
          {"P", "{1, '}", -1, {}, "Syntax error"},
          {"A,D,P", "100H,4,'", -1, {}, "Syntax error"},
          {"P", "{1, 2, 'a', 255}", 0, {4, 0, 0, 0, 1, 2, 'a', 255}, nullptr},
          {"P", "{1, 2, 'a', 300}", -1, {}, nullptr},
          {"P", "{1,2", -1, {}, "Undelimited array"},
          {"P", "{1,,2}", -1, {}, "Syntax error"},
          {"P", "{}", -1, {}, "Syntax error"},
          {"P", "300", -1, {}, "Value out of range"},
          {"P", "", -1, {}, "Syntax error"},
          {"PB", "7", 0, {1, 0, 0, 0, 7}, nullptr},
          {"PW", "{0x1234}", -1, {}, "Syntax error"},
          {"PW", "{1234H}", 0, {2, 0, 0, 0, 0x34, 0x12}, nullptr},
          {"PW", "{1234H, 'z'}", 0, {3, 0, 0, 0, 0x34, 0x12, 'z'}, nullptr},
          {"PW", "{70000}", -1, {}, nullptr},
          {"PW", "70000", -1, {}, nullptr},
          {"PD", "12345678H", 0, {4, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}, nullptr},
          {"A,D,P", "DATA:10,3,{1,2,3}", 0, {2, 10, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 1, 2, 3}, nullptr},
      },
      Recorder);
}

TEST_F(ParserTest, PatternsTakeTheTargetByteOrder) {
  TheCpu->LittleEndian = 0;
  CheckArgs(
      {
          {"PW", "{1234H}", 0, {2, 0, 0, 0, 0x12, 0x34}, nullptr},
          {"PD", "12345678H", 0, {4, 0, 0, 0, 0x12, 0x34, 0x56, 0x78}, nullptr},
          {"W", "1234H", 0, {0x34, 0x12}, nullptr},  // plain items stay in host order
      },
      Recorder);
}

TEST_F(ParserTest, ItemsThatDoNotFitTheRecordAreRefused) {
  CheckArgs(
      {
          {"P", "\"ABCD\"", 0, {4, 0, 0, 0, 'A', 'B', 'C', 'D'}, nullptr},
          {"P", "\"ABCDE\"", -1, {}, "Value out of range"},
          {"PD", "{1,2}", -1, {}, "Value out of range"},
          {"D,D,B", "1,2,3", -1, {}, "Value out of range"},
          {"S", "12345678", -1, {}, "Value out of range"},
          {"S", "1234567", 0, {'1', '2', '3', '4', '5', '6', '7', 0}, nullptr},
      },
      Recorder, 8);
  std::vector<uint8_t> big(200);
  EXPECT_EQ(ParseArgs("S", std::string(500, 'q').c_str(), big.data(), big.size()), 0);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(big.data())), 80u);
  EXPECT_EQ(ParseArgs("P", ("\"" + std::string(127, 'q') + "\"").c_str(), big.data(), 4 + 128), 0);
  EXPECT_EQ(ParseArgs("P", ("\"" + std::string(129, 'q') + "\"").c_str(), big.data(), 4 + 128), -1);
}

}  // namespace
