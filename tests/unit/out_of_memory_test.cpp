// No allocation failure leaves the core as an exception: a load that cannot get its memory
// keeps the loaded file, a report that cannot be made says so. This test binary's operator
// new refuses allocations while `g_refuse` is set, once `g_allowed` more were granted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "document/metafile_document.h"
#include "document/playback_copy.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/support/emf_builder.h"

namespace {

bool g_refuse = false;
int g_allowed = 0;

void* Allocate(std::size_t size) {
    if (g_refuse && g_allowed-- <= 0) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* block = Allocate(size)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

// Runs `action` with every allocation after the first `allowed` refused; its result is
// checked after.
template <typename Action>
int Refused(Action action, int allowed = 0) {
    g_allowed = allowed;
    g_refuse = true;
    const int result = action();
    g_refuse = false;
    return result;
}

TEST(OutOfMemory, ALoadFailsKeepingTheFileAndAReportReturns0) {
    const std::vector<uint8_t> first = EmfBuilder().Add(RecordBuilder(33, 8)).Build();
    const std::vector<uint8_t> second = EmfBuilder().Build();
    MetafileDocument document;
    ASSERT_EQ(document.LoadBytes(first.data(), first.size(), u"first.emf"), 1);
    // Whichever allocation of the load fails, the loaded file stays.
    for (int allowed = 0; allowed < 12; ++allowed) {
        auto load = [&] { return document.LoadBytes(second.data(), second.size(), u"2"); };
        if (Refused(load, allowed) == 1) {
            break;
        }
        EXPECT_EQ(std::u16string(document.Path()), u"first.emf");
        EXPECT_EQ(document.Store().count(), 3);
    }
    ASSERT_EQ(document.LoadBytes(first.data(), first.size(), u"first.emf"), 1);

    ReportText report;
    EXPECT_EQ(Refused([&] { return BuildHeaderReportText(document, &report); }), 0);
    EXPECT_EQ(Refused([&] { return BuildRecordListText(document, &report); }), 0);
    EXPECT_EQ(Refused([&] { return BuildCallListText(document, &report); }), 0);
    EXPECT_EQ(Refused([&] { return OpenCallList(document) == nullptr ? 0 : 1; }), 0);
    PlaybackCopy copy;
    EXPECT_EQ(Refused([&] { return BuildPlaybackCopy(document.Store(), &copy); }), 0);
    // Once memory is there again, everything works.
    EXPECT_EQ(BuildRecordListText(document, &report), 1);
    EXPECT_EQ(BuildPlaybackCopy(document.Store(), &copy), 1);
}

}  // namespace
