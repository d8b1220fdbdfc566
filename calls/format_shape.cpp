// Formatters of lines, rectangles, arcs, paths, clipping, flood fill and transforms.
#include "calls/format_support.h"

// Translated in full by a later change; until then these types print as untranslated.
int FormatMoveLineTo(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatRectArgs(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatRoundRect(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatArcChordPie(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatAngleArc(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatExtFloodFill(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPathDraw(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatSelectClipPath(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatSetWorldTransform(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatModifyWorldTransform(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
