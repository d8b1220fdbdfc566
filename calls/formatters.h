// Every CallFormatter the record-type table names, grouped by the file that holds them.
#pragma once

#include "calls/call_text.h"

// call_text.cpp: the two formatters that read no field.
int FormatPlaceholder(RecordView record, WideText& args);
int FormatDcOnly(RecordView record, WideText& args);

// format_simple.cpp: device-context state, CreatePen, object selection and deletion.
int FormatBkMode(RecordView record, WideText& args);
int FormatMapMode(RecordView record, WideText& args);
int FormatPolyFillMode(RecordView record, WideText& args);
int FormatRop2(RecordView record, WideText& args);
int FormatStretchBltMode(RecordView record, WideText& args);
int FormatTextAlign(RecordView record, WideText& args);
int FormatColorArg(RecordView record, WideText& args);
int FormatTextJustification(RecordView record, WideText& args);
int FormatExtOrgEx(RecordView record, WideText& args);
int FormatCreatePen(RecordView record, WideText& args);
int FormatObjectIndex(RecordView record, WideText& args);
int FormatMiterLimit(RecordView record, WideText& args);
int FormatRestoreDC(RecordView record, WideText& args);

// format_text.cpp: text output and fonts.
int FormatSmallTextOut(RecordView record, WideText& args);
int FormatExtTextOut(RecordView record, WideText& args);
int FormatCreateFont(RecordView record, WideText& args);

// format_bitmap.cpp: block transfers, DIB stretches and pattern brushes.
int FormatBitBlt(RecordView record, WideText& args);
int FormatStretchBlt(RecordView record, WideText& args);
int FormatMaskBlt(RecordView record, WideText& args);
int FormatPlgBlt(RecordView record, WideText& args);
int FormatStretchDIBits(RecordView record, WideText& args);
int FormatMonoBrush(RecordView record, WideText& args);
int FormatDIBPatternBrushPt(RecordView record, WideText& args);

// format_object.cpp: brushes, extended pens, palettes and colour spaces.
int FormatCreateBrushIndirect(RecordView record, WideText& args);
int FormatExtCreatePen(RecordView record, WideText& args);
int FormatCreatePalette(RecordView record, WideText& args);
int FormatSelectPalette(RecordView record, WideText& args);
int FormatICMMode(RecordView record, WideText& args);
int FormatSetColorSpace(RecordView record, WideText& args);
int FormatDeleteColorSpace(RecordView record, WideText& args);

// format_shape.cpp: lines, rectangles, arcs, paths, clipping, flood fill and transforms.
int FormatMoveLineTo(RecordView record, WideText& args);
int FormatRectArgs(RecordView record, WideText& args);
int FormatRoundRect(RecordView record, WideText& args);
int FormatArcChordPie(RecordView record, WideText& args);
int FormatAngleArc(RecordView record, WideText& args);
int FormatExtFloodFill(RecordView record, WideText& args);
int FormatPathDraw(RecordView record, WideText& args);
int FormatSelectClipPath(RecordView record, WideText& args);
int FormatSetWorldTransform(RecordView record, WideText& args);
int FormatModifyWorldTransform(RecordView record, WideText& args);

// format_region.cpp: regions and point lists.
int FormatExtSelectClipRgn(RecordView record, WideText& args);
int FormatFillRgn(RecordView record, WideText& args);
int FormatFrameRgn(RecordView record, WideText& args);
int FormatInvertRgn(RecordView record, WideText& args);
int FormatPaintRgn(RecordView record, WideText& args);
int FormatPolyPoints(RecordView record, WideText& args);
int FormatPolyPoints16(RecordView record, WideText& args);
int FormatPolyPolyPoints16(RecordView record, WideText& args);
