// The update list, version order and the download window's figures.
#include <gtest/gtest.h>

#include "update/DownloadFigures.h"
#include "update/UpdateList.h"

namespace {

std::vector<std::string> fileNames(const std::vector<TUpdate>& updates) {
    std::vector<std::string> names;
    for (const TUpdate& update : updates)
        names.push_back(update.fileName);
    return names;
}

}  // namespace

TEST(UpdateList, ValidLinesAreReadAndInvalidOnesSkipped) {
    const std::vector<TUpdate> updates = parseUpdateList(
        "http://h/a.run;1.2.3.4;a.run;\r\n"
        "http://h/b.run;2.0.0\n"          // ends after three numbers
        "http://h/c.run;2.0.x.0;c.run\n"  // not a number
        "\n"
        "http://h/d.run;5;6;7;8;d.run;trailing\r\n"
        "http://h/e.run;0.0.0.1;e.run");
    ASSERT_EQ(fileNames(updates), (std::vector<std::string>{"a.run", "d.run", "e.run"}));
    EXPECT_EQ(updates[0].url, "http://h/a.run");
    EXPECT_EQ(versionOf(updates[0]), (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(versionOf(updates[1]), (std::array<int, 4>{5, 6, 7, 8}));
}

TEST(UpdateList, FileNamesThatAreNotPlainNamesMakeTheLineInvalid) {
    for (const char* name : {"", ".", "..", "../q745.run", "sub/q745.run", "/tmp/q745.run",
                             "..\\q745.run", "C:\\q745.exe"})
        EXPECT_FALSE(parseUpdateLine(std::string("http://h/x;1.0.0.0;") + name + ";"))
            << "\"" << name << "\"";
    EXPECT_TRUE(parseUpdateLine("http://h/x;1.0.0.0;..q745.run;"));
}

TEST(UpdateList, AgeAndNewestFollowTheVersionNumberByNumber) {
    const std::array<std::uint16_t, 4> program{1, 2, 3, 4};
    const auto entry = [](int a, int b, int c, int d) { return TUpdate{"u", a, b, c, d, "f"}; };
    EXPECT_EQ(updateAge(entry(1, 2, 3, 4), program), UpdateAge::Same);
    EXPECT_EQ(updateAge(entry(1, 2, 3, 5), program), UpdateAge::New);
    EXPECT_EQ(updateAge(entry(1, 3, 0, 0), program), UpdateAge::New);
    EXPECT_EQ(updateAge(entry(0, 9, 9, 9), program), UpdateAge::Old);

    EXPECT_FALSE(newestUpdate({}));
    EXPECT_EQ(newestUpdate({entry(2, 0, 0, 0), entry(1, 0, 0, 0), entry(2, 0, 0, 0)}), 2u)
        << "of equal highest versions the last";
}

TEST(DownloadFigures, SpeedTimeAndProgressTexts) {
    EXPECT_EQ(durationText(187), "0:03:07");
    EXPECT_EQ(durationText(36000 + 59), "10:00:59");

    // 1536 bytes in half a second: 3 kb/s; 3 MB left take 1024 s.
    const DownloadFigures figures = downloadFigures(1536, 1536 + 3 * 1048576, 500);
    EXPECT_EQ(figures.speed, "3kb/s");
    EXPECT_EQ(figures.timeRemaining, "0:17:04");
    EXPECT_EQ(figures.progress, "1.5kb /3Mb");

    const DownloadFigures atStart = downloadFigures(0, 4000, 0);
    EXPECT_FALSE(atStart.speed);
    EXPECT_FALSE(atStart.timeRemaining);
    EXPECT_FALSE(downloadFigures(0, 4000, 100).timeRemaining) << "no speed yet";
    EXPECT_EQ(downloadFigures(100, -1, 100).progress, "100b /N/A");
}
