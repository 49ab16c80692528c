// Command parsing and error texts: no audio device is involved.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/audio/CMciCommandParser.h"
#include "platform/audio/mmsystem.h"

namespace {

MCIERROR ParseError(const char* text) {
    SMciCommand command;
    return CMciCommandParser::Parse(text, command);
}

std::string ErrorText(MCIERROR error, UINT length = MAXERRORLENGTH) {
    char buffer[MAXERRORLENGTH + 8];
    std::memset(buffer, 'x', sizeof(buffer));
    if (!mciGetErrorStringA(error, buffer, length)) {
        return "<FALSE:" + std::string(buffer) + ">";
    }
    return buffer;
}

}  // namespace

TEST(MciCommandParser, ReadsTheCommandsTheEngineSends) {
    SMciCommand open;
    ASSERT_EQ(CMciCommandParser::Parse("open \"/tmp/My Music/track 1.mp3\" type mpegvideo alias mp3", open),
              MMSYSERR_NOERROR);
    EXPECT_EQ(open.verb, TMciVerb::Open);
    EXPECT_EQ(open.device, "/tmp/My Music/track 1.mp3");
    EXPECT_EQ(open.deviceType, "mpegvideo");
    EXPECT_EQ(open.alias, "mp3");

    SMciCommand play;
    ASSERT_EQ(CMciCommandParser::Parse("play mp3 from 2500", play), MMSYSERR_NOERROR);
    EXPECT_EQ(play.verb, TMciVerb::Play);
    EXPECT_EQ(play.device, "mp3");
    ASSERT_TRUE(play.from.has_value());
    EXPECT_EQ(*play.from, 2500u);

    SMciCommand plain;
    ASSERT_EQ(CMciCommandParser::Parse("  play\tmp3  ", plain), MMSYSERR_NOERROR);
    EXPECT_FALSE(plain.from.has_value());

    const std::pair<const char*, TMciVerb> simple[] = {{"pause mp3", TMciVerb::Pause},
                                                       {"resume mp3", TMciVerb::Resume},
                                                       {"stop mp3", TMciVerb::Stop},
                                                       {"close mp3", TMciVerb::Close}};
    for (const auto& [text, verb] : simple) {
        SMciCommand command;
        ASSERT_EQ(CMciCommandParser::Parse(text, command), MMSYSERR_NOERROR) << text;
        EXPECT_EQ(command.verb, verb) << text;
        EXPECT_EQ(command.device, "mp3") << text;
    }
}

TEST(MciCommandParser, KeywordsIgnoreCaseAndStatusItemsAreKnown) {
    SMciCommand open;
    ASSERT_EQ(CMciCommandParser::Parse("OPEN \"a b.mp3\" ALIAS Music TYPE MPEGVideo", open), MMSYSERR_NOERROR);
    EXPECT_EQ(open.verb, TMciVerb::Open);
    EXPECT_EQ(open.alias, "Music");
    EXPECT_EQ(open.deviceType, "MPEGVideo");

    SMciCommand play;
    ASSERT_EQ(CMciCommandParser::Parse("Play mp3 FROM 0", play), MMSYSERR_NOERROR);
    EXPECT_EQ(play.from.value_or(99), 0u);

    const std::pair<const char*, TMciStatusItem> items[] = {{"status mp3 mode", TMciStatusItem::Mode},
                                                            {"STATUS mp3 Position", TMciStatusItem::Position},
                                                            {"status mp3 length", TMciStatusItem::Length}};
    for (const auto& [text, item] : items) {
        SMciCommand command;
        ASSERT_EQ(CMciCommandParser::Parse(text, command), MMSYSERR_NOERROR) << text;
        EXPECT_EQ(command.verb, TMciVerb::Status);
        EXPECT_EQ(command.statusItem, item) << text;
    }
}

TEST(MciCommandParser, RefusesMalformedCommandsWithMciErrors) {
    EXPECT_EQ(ParseError(""), MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(ParseError(" \t "), MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(ParseError("rewind mp3"), MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(ParseError("playmp3"), MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(ParseError("play"), MCIERR_MISSING_DEVICE_NAME);
    EXPECT_EQ(ParseError("open \"\" alias mp3"), MCIERR_MISSING_DEVICE_NAME);
    EXPECT_EQ(ParseError("open \"/tmp/a b.mp3 alias mp3"), MCIERR_NO_CLOSING_QUOTE);
    EXPECT_EQ(ParseError("open \"/tmp/a b.mp3\"x alias mp3"), MCIERR_EXTRA_CHARACTERS);
    EXPECT_EQ(ParseError("open a.mp3 alias"), MCIERR_MISSING_STRING_ARGUMENT);
    EXPECT_EQ(ParseError("open a.mp3 alias one alias two"), MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(ParseError("open a.mp3 shareable"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ParseError("play mp3 from"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ParseError("play mp3 from abc"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(ParseError("play mp3 from -500"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(ParseError("play mp3 from 12.5"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(ParseError("play mp3 from 4294967296"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(ParseError("play mp3 from 1 from 2"), MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(ParseError("play mp3 to 500"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ParseError("stop mp3 now"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ParseError("status mp3"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ParseError("status mp3 volume"), MCIERR_UNRECOGNIZED_KEYWORD);
}

TEST(MciErrorStrings, UseWindowsCodesAndWording) {
    EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, 261u);
    EXPECT_EQ(MCIERR_INVALID_DEVICE_NAME, 263u);
    EXPECT_EQ(MCIERR_DEVICE_OPEN, 265u);
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, 275u);
    EXPECT_EQ(MCIERR_OUTOFRANGE, 282u);
    EXPECT_EQ(MCIERR_DUPLICATE_ALIAS, 289u);

    EXPECT_EQ(ErrorText(MCIERR_UNRECOGNIZED_COMMAND), "The specified command was not recognized.");
    EXPECT_EQ(ErrorText(MCIERR_INVALID_DEVICE_NAME), "The specified device is not open or is not recognized by MCI.");
    EXPECT_EQ(ErrorText(MCIERR_FILE_NOT_FOUND),
              "Cannot find the specified file. Make sure the path and filename are correct.");

    // The engine fetches texts into 128-byte buffers: every text must fit whole.
    for (MCIERROR code = MCIERR_BASE; code <= MCIERR_DEVICE_NOT_INSTALLED; ++code) {
        char buffer[4 * MAXERRORLENGTH];
        if (mciGetErrorStringA(code, buffer, sizeof(buffer))) {
            EXPECT_LT(std::strlen(buffer), MAXERRORLENGTH) << code;
            EXPECT_EQ(buffer[std::strlen(buffer) - 1], '.') << code;
        }
    }
}

TEST(MciErrorStrings, TruncateToTheBufferAndAlwaysTerminate) {
    EXPECT_EQ(ErrorText(MCIERR_UNRECOGNIZED_COMMAND, 10), "The speci");
    EXPECT_EQ(ErrorText(MCIERR_UNRECOGNIZED_COMMAND, 1), "");
    EXPECT_EQ(ErrorText(MCIERR_UNRECOGNIZED_COMMAND, 42), "The specified command was not recognized.");

    EXPECT_EQ(ErrorText(9999), "<FALSE:>");
    EXPECT_EQ(ErrorText(MCIERR_BASE + 2), "<FALSE:>");  // a gap in the code range
    char untouched = 'x';
    EXPECT_FALSE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, &untouched, 0));
    EXPECT_EQ(untouched, 'x');
    EXPECT_FALSE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, nullptr, 128));
}

TEST(MciSendString, RejectsUnknownDevicesAndClearsTheReturnString) {
    char result[32] = "stale";
    EXPECT_EQ(mciSendStringA("play nosuchalias from 0", result, sizeof(result), nullptr), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_STREQ(result, "");
    EXPECT_EQ(mciSendStringA("status nosuchalias mode", result, sizeof(result), nullptr), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(mciSendStringA("close nosuchalias", nullptr, 0, nullptr), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(mciSendStringA("fly mp3", nullptr, 0, nullptr), MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(mciSendStringA(nullptr, nullptr, 0, nullptr), MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(mciSendStringA("close all", nullptr, 0, nullptr), MMSYSERR_NOERROR);
}
