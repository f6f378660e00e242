#include <cstring>
#include <string>

#include "Utility.h"

namespace {
bool IsHighLevel(uint8_t op) { return op != OP_NONE && op != OP_ADD && op != OP_SUBTRACT; }

bool IsDivision(uint8_t op) { return op == OP_DIVIDE || op == OP_DIVIDE_ASSIGN; }

// ApplyOperator, refusing a division by zero so that it fails the expression.
bool Apply(uint32_t a, uint8_t op, uint32_t b, uint32_t& out) {
  if (IsDivision(op) && b == 0) return false;
  out = ApplyOperator(a, op, b);
  return true;
}

// Only a blank ends an operand; other white space stays in it and makes the
// number malformed.
bool EndsOperand(char c) { return c == '\0' || std::strchr("+-*/ ", c); }
}  // namespace

uint32_t ApplyOperator(uint32_t a, uint8_t code, uint32_t b) {
  switch (code) {
    case OP_ADD: return a + b;
    case OP_INCREMENT: return a + 1;
    case OP_SUBTRACT: return a - b;
    case OP_DECREMENT: return a - 1;
    case OP_MULTIPLY:
    case OP_MULTIPLY_ASSIGN: return a * b;
    case OP_DIVIDE:
    case OP_DIVIDE_ASSIGN: return b == 0 ? 0 : a / b;
    default: return a;
  }
}

uint8_t ReadOperator(const char*& text, uint8_t& code) {
  SkipWhiteSpace(text);
  const char c = text[0];
  const char next = c ? text[1] : '\0';
  size_t length = 1;
  switch (c) {
    case '+':
      code = next == '+' ? OP_INCREMENT : next == '=' ? OP_ADD_ASSIGN : OP_ADD;
      break;
    case '-':
      code = next == '-' ? OP_DECREMENT : next == '=' ? OP_SUBTRACT_ASSIGN : OP_SUBTRACT;
      break;
    case '*':
      code = next == '=' ? OP_MULTIPLY_ASSIGN : OP_MULTIPLY;
      break;
    case '/':
      code = next == '=' ? OP_DIVIDE_ASSIGN : OP_DIVIDE;
      break;
    default:
      code = OP_NONE;
      return code;
  }
  if (code != OP_ADD && code != OP_SUBTRACT && code != OP_MULTIPLY && code != OP_DIVIDE) length = 2;
  text += length;
  return code;
}

int EvalOperand(const char*& text, uint32_t& value) {
  const char* p = text;
  if (SkipWhiteSpace(p) == '\0') return 1;

  if (*p == '(') {
    const char* close = p + 1;
    for (int depth = 1; *close; ++close) {
      if (*close == '(') ++depth;
      if (*close == ')' && --depth == 0) break;
    }
    if (*close != ')') return -1;
    const size_t length = static_cast<size_t>(close - p - 1);
    if (length > MAX_EXPRESSION_TEXT) return -1;
    const std::string inner(p + 1, length);
    const char* q = inner.c_str();
    uint32_t v = 0;
    const int result = EvalExpression(q, v);
    if (result != 0) return result;
    value = v;
    text = close + 1;
    return 0;
  }

  const char* end = p;
  if (*end == '+' || *end == '-') ++end;
  while (!EndsOperand(*end)) ++end;
  const size_t length = static_cast<size_t>(end - p);
  if (length > MAX_EXPRESSION_TEXT) return -1;
  uint32_t v = 0;
  const int result = ParseNumber(std::string(p, length).c_str(), v);
  if (result != 0) return result;
  value = v;
  text = end;
  return 0;
}

int EvalExpression(const char*& text, uint32_t& value) {
  const char* p = text;
  uint32_t acc = 0;
  int result = EvalOperand(p, acc);
  if (result != 0) return result;

  auto finish = [&](uint32_t v) {
    value = v;
    text = p;
    return 0;
  };

  uint8_t op = 0;
  if (ReadOperator(p, op) == OP_NONE) return finish(acc);
  if (op == OP_INCREMENT || op == OP_DECREMENT) {
    acc = ApplyOperator(acc, op, 0);
    if (ReadOperator(p, op) == OP_NONE) return finish(acc);
  }
  // A missing operand right after the first operator counts as 0.
  uint32_t term = 0;
  result = EvalOperand(p, term);
  if (result < 0) return result;

  for (;;) {
    uint8_t op2 = 0;
    if (ReadOperator(p, op2) == OP_NONE) {
      uint32_t v = 0;
      if (!Apply(acc, op, term, v)) return -1;
      return finish(v);
    }
    if (!IsHighLevel(op2) || IsHighLevel(op)) {
      // A lower-level operator ends the term; a run of high-level operators
      // applies from left to right.
      if (!Apply(acc, op, term, acc)) return -1;
      op = op2;
      result = EvalOperand(p, term);
      if (result != 0) return result;
    } else {
      uint32_t factor = 0;
      result = EvalOperand(p, factor);
      if (result != 0) return result;
      if (!Apply(term, op2, factor, term)) return -1;
    }
  }
}

int EvalString(const char* text, uint32_t& value) {
  if (!text) return -1;
  return EvalExpression(text, value);
}

int EvalWord(const char* text, uint16_t& value) {
  uint32_t v = 0;
  const int result = EvalString(text, v);
  if (result == 0) value = static_cast<uint16_t>(v);
  return result;
}

int EvalByte(const char* text, uint8_t& value) {
  uint32_t v = 0;
  const int result = EvalString(text, v);
  if (result == 0) value = static_cast<uint8_t>(v);
  return result;
}
