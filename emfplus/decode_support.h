// Pieces shared by the EMF+ decoders: numbers, colours, names, points, rectangles and strings
// written into one line, each read through the record's bounded reader.
#pragma once

#include <cstdint>

#include "calls/symbols.h"
#include "document/record_view.h"
#include "text/wide_text.h"

// The record's data follows its 12-byte head.
inline constexpr uint32_t kPlusData = 12;

// Flags of the drawing records: the brush is a colour (S), coordinates are 16-bit integers
// (C), points are relative (P).
inline constexpr uint16_t kFlagBrushIsColor = 0x8000;
inline constexpr uint16_t kFlagCompressed = 0x4000;
inline constexpr uint16_t kFlagRelative = 0x0800;

enum class PointForm { kFloat, kInt16, kRelative };

PointForm PointFormOf(uint16_t flags);

// What a decoder writes when the record ends before its fixed fields.
void AppendTooShort(WideText& out);
void AppendFloat(WideText& out, float value);
void AppendSymbol(WideText& out, const SymbolTable& table, uint32_t value,
                  const char16_t* fallback = u"0x%08X");
// "ARGB(a, r, g, b)".
void AppendColor(WideText& out, uint32_t argb);
// The brush of a fill: its colour when the S flag is set, otherwise its object id.
void AppendBrush(WideText& out, RecordReader& record, uint16_t flags, uint32_t offset);
// "(x, y, width, height)" of one rectangle in the form the C flag gives; false, and nothing
// written, when it does not lie inside the record.
bool AppendRect(WideText& out, RecordReader& record, uint32_t offset, bool compressed);
// "N rects (form): (...), ..." with the cap and the notes on what is not shown.
void AppendRects(WideText& out, RecordReader& record, uint32_t offset, uint32_t count,
                 bool compressed);
// "N points (form): (x, y), ..." with the cap and the notes on what is not shown; returns the
// offset after the last point the record holds, and whether it holds all `count` in
// `all_inside` when given.
uint32_t AppendPoints(WideText& out, RecordReader& record, uint32_t offset, uint32_t count,
                      PointForm form, bool* all_inside = nullptr);
// The six elements of a matrix: "(m11, m12, m21, m22, dx, dy)".
bool AppendMatrix(WideText& out, RecordReader& record, uint32_t offset);
// `count` UTF-16 units in double quotes, control characters and quotes escaped, lone
// surrogates replaced, with notes on what is not shown.
void AppendQuoted(WideText& out, RecordReader& record, uint32_t offset, uint32_t count);
// One UTF-16 unit as AppendQuoted writes it; `next` is the unit after it (0 at the end).
void AppendQuotedUnit(WideText& out, char16_t unit, char16_t previous, char16_t next);
// The same for text outside quotes, where the quote stands for itself: the backslash, tab, CR,
// LF, other C0 controls and DEL escaped (\x1B), a lone surrogate as U+FFFD.
void AppendEscapedUnit(WideText& out, char16_t unit, char16_t previous, char16_t next);

// The fields of an EMF+ object (brush, pen, path, ...) whose data starts at `offset`.
void AppendObject(WideText& out, RecordReader& record, uint32_t offset, uint32_t object_type);
