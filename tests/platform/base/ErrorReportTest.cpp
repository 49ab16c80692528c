#include "platform/base/ErrorReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/CErrorCapture.h"

using testing::ElementsAre;

TEST(ErrorReport, CaptureCollectsReportsAndRestoresThePreviousHandler) {
    std::vector<std::string> outer;
    ErrorReportHandler before =
        SetErrorReportHandler([&](const std::string& text, const std::string&, ErrorIcon) { outer.push_back(text); });
    {
        CErrorCapture capture;
        ReportError("inner", "Title", ErrorIcon::Warning);
        EXPECT_THAT(capture.Texts(), ElementsAre("inner"));
        EXPECT_THAT(capture.Titles(), ElementsAre("Title"));
        EXPECT_THAT(capture.Icons(), ElementsAre(ErrorIcon::Warning));
        capture.Clear();
        EXPECT_EQ(capture.Count(), 0u);
    }
    ReportError("outer");
    EXPECT_THAT(outer, ElementsAre("outer"));
    ErrorReportHandler mine = SetErrorReportHandler(before);
    EXPECT_TRUE(static_cast<bool>(mine));
}

TEST(ErrorReport, DefaultHandlerWritesTitleAndTextToStderr) {
    ErrorReportHandler previous = SetErrorReportHandler(nullptr);
    testing::internal::CaptureStderr();
    ReportError("Cannot open file", "Mesh importer Error");
    ReportError("plain text");
    const std::string written = testing::internal::GetCapturedStderr();
    SetErrorReportHandler(previous);
    EXPECT_EQ(written, "Mesh importer Error: Cannot open file\nplain text\n");
    EXPECT_FALSE(static_cast<bool>(SetErrorReportHandler(previous)));  // default reads as empty
}

TEST(ErrorReport, MessageBoxesGoThroughTheHookWithTheirIcon) {
    CErrorCapture capture;
    EXPECT_EQ(MessageBoxA(nullptr, "Device lost", "Lumivexis", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Careful", nullptr, MB_ICONWARNING), IDOK);
    EXPECT_EQ(AfxMessageBox("Sound Error: busy", MB_ICONSTOP), IDOK);
    EXPECT_EQ(AfxMessageBox("Saved"), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_ICONINFORMATION), IDOK);
    EXPECT_THAT(capture.Texts(), ElementsAre("Device lost", "Careful", "Sound Error: busy", "Saved", ""));
    EXPECT_THAT(capture.Titles(), ElementsAre("Lumivexis", "", "", "", ""));
    EXPECT_THAT(capture.Icons(), ElementsAre(ErrorIcon::Error, ErrorIcon::Warning, ErrorIcon::Error,
                                             ErrorIcon::Information, ErrorIcon::Information));
}

TEST(ErrorReport, ReportsFromSeveralThreadsAreAllDelivered) {
    CErrorCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 250; ++i)
                ReportError("render thread");
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(capture.Count(), 1000u);
}

TEST(ErrorReport, HandlerMayReportAndSwapHandlersWithoutDeadlock) {
    CErrorCapture capture;
    {
        std::vector<std::string> seen;
        ErrorReportHandler previous;
        previous = SetErrorReportHandler([&](const std::string& text, const std::string& title, ErrorIcon icon) {
            seen.push_back(text);
            // Hand back to the capture from inside the handler, then report through it.
            SetErrorReportHandler(previous);
            ReportError("nested " + text, title, icon);
        });
        ReportError("first");
        EXPECT_THAT(seen, ElementsAre("first"));
    }
    EXPECT_THAT(capture.Texts(), ElementsAre("nested first"));
}
