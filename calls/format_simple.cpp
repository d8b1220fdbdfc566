// Formatters of device-context state, CreatePen, object selection and deletion.
#include "calls/format_support.h"

// Translated in full by a later change; until then these types print as untranslated.
int FormatBkMode(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatMapMode(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPolyFillMode(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatRop2(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatStretchBltMode(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatTextAlign(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatColorArg(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatTextJustification(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatExtOrgEx(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatCreatePen(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatObjectIndex(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatMiterLimit(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatRestoreDC(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
