#include "ConsoleFixture.h"

#include "stops_table/DatFile.h"
#include "stops_table/TableText.h"

#include <fstream>
#include <functional>
#include <iterator>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spill(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string allBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b)
        s.push_back(static_cast<char>(b));
    return s;
}

using DatFile = ConsoleFixture;

TEST_F(DatFile, EmptyTableIs862ZeroBytesAndReadsBack) {
    const StopsTableEntries empty{};
    const fs::path file = folder / "empty.dat";
    ASSERT_EQ(writeDat(file.string(), empty), std::nullopt);
    EXPECT_EQ(slurp(file), std::string(862, '\0'));
    const auto read = readDat(file.string());
    ASSERT_TRUE(read.table);
    EXPECT_EQ(*read.table, empty);
}

TEST_F(DatFile, EveryByteAndReservedEntriesSurviveSaveAndLoad) {
    StopsTableEntries table{};
    table[45] = allBytes();
    table[210] = "Voix c\xE9leste 8'";
    for (int i : {330, 349, 354, 359, 422, 430})
        table[static_cast<std::size_t>(i)] = allBytes() + std::to_string(i);
    const fs::path file = folder / "t.dat";
    ASSERT_EQ(writeDat(file.string(), table), std::nullopt);
    EXPECT_EQ(readDat(file.string()).table, table);
    // The text form keeps them too.
    EXPECT_EQ(tableFromText(tableToText(table)).table, table);
}

TEST_F(DatFile, LittleEndianLengths) {
    StopsTableEntries table{};
    table[0] = std::string(0x0102, 'x');
    const std::string bytes = encodeDat(table);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x02\x01", 2));
    EXPECT_EQ(bytes.size(), 862u + 0x0102);
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    bool ok;
    std::string errorPart;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class DatDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DatDecoding, ShortFilesTrailingBytesAndTruncatedRecords) {
    const auto& c = GetParam();
    const auto result = decodeDat(c.bytes);
    ASSERT_EQ(result.table.has_value(), c.ok) << result.error;
    if (c.ok) {
        EXPECT_EQ((*result.table)[0], "AB");
        EXPECT_EQ((*result.table)[430], "");
    } else {
        EXPECT_NE(result.error.find(c.errorPart), std::string::npos) << result.error;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DatDecoding,
                         ::testing::Values(DecodeCase{"OneRecordRestEmpty",
                                                      std::string("\x02\x00"
                                                                  "AB",
                                                                  4),
                                                      true, ""},
                                           DecodeCase{"TrailingBytesIgnored",
                                                      std::string("\x02\x00"
                                                                  "AB",
                                                                  4) +
                                                          std::string(860, '\0') + "junk",
                                                      true, ""},
                                           DecodeCase{"RecordRunsPastTheEnd",
                                                      std::string("\x02\x00"
                                                                  "AB"
                                                                  "\x05\x00"
                                                                  "xy",
                                                                  8),
                                                      false, "record 1 runs past"},
                                           DecodeCase{"LengthCutInHalf",
                                                      std::string("\x02\x00"
                                                                  "AB"
                                                                  "\x05",
                                                                  5),
                                                      false, "record 1 is cut off"}),
                         [](const auto& info) { return info.param.name; });

struct ReadCase {
    const char* name;
    // Puts whatever the case reads in `folder` and gives the path to read.
    std::function<std::string(const fs::path& folder)> make;
    bool ok;
    std::string entry0;    // when read: entry 0; every other entry is empty
    std::string errorPart; // when refused
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

std::string sparse(const fs::path& file, std::uintmax_t size) {
    spill(file, "");
    fs::resize_file(file, size);
    return file.string();
}

class DatReading : public ConsoleFixture, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(DatReading, RefusesWhatIsNoTableWithoutThrowingOrReadingItWhole) {
    const auto& c = GetParam();
    const std::string path = c.make(folder);
    const auto result = readDat(path);
    ASSERT_EQ(result.table.has_value(), c.ok) << result.error;
    if (!c.ok) {
        EXPECT_NE(result.error.find(c.errorPart), std::string::npos) << result.error;
        return;
    }
    StopsTableEntries expected{};
    expected[0] = c.entry0;
    EXPECT_EQ(*result.table, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DatReading,
    ::testing::Values(
        ReadCase{"Folder",
                 [](const fs::path& f) {
                     fs::create_directories(f / "organ.dat" / "inside");
                     return (f / "organ.dat").string();
                 },
                 false, "", "it is a folder, not a file"},
        ReadCase{"EndlessDevice", [](const fs::path&) { return std::string("/dev/zero"); }, false,
                 "", "it is not a regular file"},
        ReadCase{"Missing", [](const fs::path& f) { return (f / "gone.dat").string(); }, false, "",
                 "the file does not exist"},
        // 431 records of 65535 bytes and their lengths, 28246447 bytes, and 1 MiB after them.
        ReadCase{"LargestSizeIsRead",
                 [](const fs::path& f) { return sparse(f / "zeros.dat", 29295023); }, true, "", ""},
        ReadCase{"OneByteMoreIsRefused",
                 [](const fs::path& f) { return sparse(f / "zeros.dat", 29295024); }, false, "",
                 "the file is 29295024 bytes long"},
        ReadCase{"FarLargerIsRefused",
                 [](const fs::path& f) { return sparse(f / "huge.dat", 3221225472u); }, false, "",
                 "the file is 3221225472 bytes long"},
        ReadCase{"EmptyFileIsRefused", // it would blank every stop name
                 [](const fs::path& f) {
                     spill(f / "empty.dat", "");
                     return (f / "empty.dat").string();
                 },
                 false, "", "no record"},
        ReadCase{"TruncatedRecord",
                 [](const fs::path& f) {
                     spill(f / "cut.dat", std::string("\x02\x00"
                                                      "AB"
                                                      "\x05\x00"
                                                      "xy",
                                                      8));
                     return (f / "cut.dat").string();
                 },
                 false, "", "record 1 runs past the end of the file"},
        ReadCase{"TrailingBytesAreIgnored",
                 [](const fs::path& f) {
                     spill(f / "tail.dat", std::string("\x02\x00"
                                                       "AB",
                                                       4) +
                                               std::string(860, '\0') + "not part of the table");
                     return (f / "tail.dat").string();
                 },
                 true, "AB", ""},
        ReadCase{"NameInAnotherCase",
                 [](const fs::path& f) {
                     spill(f / "ORGAN.DAT", std::string("\x02\x00"
                                                        "AB",
                                                        4));
                     return (f / "organ.dat").string();
                 },
                 true, "AB", ""}),
    [](const auto& info) { return info.param.name; });

TEST_F(DatFile, LargestTableWithItsTrailingMegabyteIsReadAndOneByteMoreIsNot) {
    StopsTableEntries table{};
    for (auto& entry : table)
        entry = std::string(kMaxDatEntry, '\x55');
    const fs::path file = folder / "full.dat";
    ASSERT_EQ(writeDat(file.string(), table), std::nullopt);
    ASSERT_EQ(fs::file_size(file), 28246447u);
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(1u << 20, '\xEE');
    const auto read = readDat(file.string());
    ASSERT_TRUE(read.table) << read.error;
    EXPECT_EQ((*read.table)[430], std::string(65535, '\x55'));
    std::ofstream(file, std::ios::binary | std::ios::app) << '\xEE';
    const auto refused = readDat(file.string());
    EXPECT_FALSE(refused.table);
    EXPECT_NE(refused.error.find("29295024 bytes"), std::string::npos) << refused.error;
}

TEST_F(DatFile, OverLongEntryIsRefusedAndTheOldFileKept) {
    const fs::path file = folder / "old.dat";
    spill(file, "old contents");
    StopsTableEntries table{};
    table[141] = std::string(kMaxDatEntry + 1, '\x7F');
    const auto error = writeDat(file.string(), table);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Entry 141 (ancie[1].great)"), std::string::npos) << *error;
    EXPECT_EQ(slurp(file), "old contents");
    table[141].pop_back(); // 65535 fits
    EXPECT_EQ(writeDat(file.string(), table), std::nullopt);
    EXPECT_EQ(readDat(file.string()).table, table);
}

TEST_F(DatFile, FailedReplaceLeavesNoTemporaryFileAndReportsIt) {
    const fs::path target = folder / "a-folder.dat";
    fs::create_directories(target / "inside");
    const auto error = writeDat(target.string(), StopsTableEntries{});
    ASSERT_TRUE(error);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 2); // kavel.DAT and the folder: no temporary left behind
    EXPECT_TRUE(writeDat((folder / "no-such-folder" / "x.dat").string(), {}).has_value());
}

TEST_F(DatFile, SaveOverALongerFileLeavesNoOldTail) {
    const fs::path file = folder / "t.dat";
    spill(file, std::string(5000, '\x01'));
    ASSERT_EQ(writeDat(file.string(), StopsTableEntries{}), std::nullopt);
    EXPECT_EQ(fs::file_size(file), 862u);
}

using StopsTableLoading = ConsoleFixture;

constexpr const char* kLoadError =
    " File is Damaged or Wrong Path is on CFG File: program will load default File "
    "kavel.DAT,if it is present in kavel directory";

TEST_F(StopsTableLoading, MissingFileFallsBackToTheDefaultOnceAndNamesIt) {
    auto& k = console();
    k.state.config.PATH_DAT = (folder / "gone.dat").string();
    k.tableFile.CARICAMENTO_DAT();
    ASSERT_EQ(messageTexts(),
              std::vector<std::string>{"Error Loading Stops Table File " +
                                       (folder / "gone.dat").string() + kLoadError});
    EXPECT_EQ(user.shown[0].icon, Icon::Critical);
    EXPECT_EQ(k.state.config.PATH_DAT, (folder / "kavel.dat").string());
    EXPECT_EQ(k.state.stops.STOPS_TABLE[350], "Principali e Flauti");
    EXPECT_EQ(k.state.stops.DAT_BUFFER, k.state.stops.STOPS_TABLE);
    EXPECT_EQ(k.state.stops.RINFORZABILE_FO[1], "1");
    EXPECT_EQ(k.state.stops.RINFORZABILE_FO[4], "0");
    EXPECT_TRUE(k.state.midi.LISTE_DISPOSITIVI_PRONTE);
}

TEST_F(StopsTableLoading, NoTableAtAllGoesOnEmptyAndSaysSo) {
    fs::remove(folder / "kavel.DAT");
    auto& k = console();
    k.state.stops.STOPS_TABLE[5] = "stale";
    k.state.config.PATH_DAT = (folder / "gone.dat").string();
    k.tableFile.CARICAMENTO_DAT();
    ASSERT_EQ(user.shown.size(), 2u);
    EXPECT_NE(user.shown[1].text.find("empty Stops Table"), std::string::npos);
    EXPECT_EQ(k.state.stops.STOPS_TABLE, StopsTableEntries{});
    EXPECT_TRUE(k.running());
}

TEST_F(StopsTableLoading, DamagedFileIsAFailureNotGarbage) {
    spill(folder / "bad.dat", std::string("\xFF\xFF"
                                          "abc",
                                          5));
    auto& k = console();
    k.state.config.PATH_DAT = (folder / "bad.dat").string();
    k.tableFile.CARICAMENTO_DAT();
    EXPECT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(k.state.stops.STOPS_TABLE[353], "Pedale");
}

struct RefusedCase {
    const char* name;
    std::function<std::string(const fs::path& folder)> make; // gives the path to load
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedTable : public ConsoleFixture, public ::testing::WithParamInterface<RefusedCase> {};

// Whatever the reader refuses, start-up gives the ordinary failure and the default organ.
TEST_P(RefusedTable, FallsBackToTheDefaultWithTheOrdinaryMessage) {
    const std::string path = GetParam().make(folder);
    auto& k = console();
    k.state.config.PATH_DAT = path;
    k.tableFile.CARICAMENTO_DAT();
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Error Loading Stops Table File " + path + kLoadError});
    EXPECT_EQ(k.state.config.PATH_DAT, (folder / "kavel.dat").string());
    EXPECT_EQ(k.state.stops.STOPS_TABLE[201], "Principale 8'");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedTable,
    ::testing::Values(
        RefusedCase{"Folder",
                    [](const fs::path& f) {
                        fs::create_directories(f / "organ.dat");
                        return (f / "organ.dat").string();
                    }},
        RefusedCase{"EndlessDevice", [](const fs::path&) { return std::string("/dev/zero"); }},
        RefusedCase{"FarTooLarge",
                    [](const fs::path& f) { return sparse(f / "organ.dat", 3221225472u); }},
        RefusedCase{"Empty",
                    [](const fs::path& f) {
                        spill(f / "organ.dat", "");
                        return (f / "organ.dat").string();
                    }}),
    [](const auto& info) { return info.param.name; });

struct DamageCase {
    const char* name;
    std::function<void(StopsTableEntries&)> damage; // done to the shipped organ
    std::string report; // the message after "The Stops Table PATH"; empty for none at all
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr const char* kCheckLine = "\n\"kavel-dat check\" lists every fault.";

class DamagedEntries : public ConsoleFixture, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedEntries, LoadAllTheSameAndAreNamedInOneMessage) {
    auto table = *readDat((folder / "kavel.DAT").string()).table;
    GetParam().damage(table);
    const fs::path file = folder / "organ.dat";
    ASSERT_EQ(writeDat(file.string(), table), std::nullopt);
    auto& k = console();
    k.state.config.PATH_DAT = file.string();
    k.tableFile.CARICAMENTO_DAT();
    EXPECT_EQ(k.state.config.PATH_DAT, file.string()); // no fall-back to the default
    EXPECT_EQ(k.state.stops.STOPS_TABLE, table);
    if (GetParam().report.empty()) {
        EXPECT_EQ(messageTexts(), std::vector<std::string>{});
        return;
    }
    ASSERT_EQ(messageTexts(),
              std::vector<std::string>{"The Stops Table " + file.string() + GetParam().report});
    EXPECT_EQ(user.shown[0].icon, Icon::Exclamation);
}

const std::string kGsResetBadSum("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x40\xF7", 11);

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedEntries,
    ::testing::Values(
        DamageCase{"SoundOrganSaysNothing", [](StopsTableEntries&) {}, ""},
        DamageCase{"EmptyEntriesAreNothingToSend",
                   [](StopsTableEntries& t) {
                       t[0].clear();
                       t[47].clear();
                       t[421].clear();
                   },
                   ""},
        DamageCase{"NamesFlagsAndReservedAreNotSysEx",
                   [](StopsTableEntries& t) {
                       t[210] = "\x90\xFF";
                       t[365] = "\xF7";
                       t[330] = "\x80";
                       t[425] = "x";
                   },
                   ""},
        DamageCase{"StopWithoutF7", [](StopsTableEntries& t) { t[47] = "\xF0\x41\x10"; },
                   std::string(" has 1 damaged SysEx entry; Kavel will not send it:\n"
                               "entry 47 (fondi[7].great): message 1 has no F7") +
                       kCheckLine},
        DamageCase{"WrongChecksumIsDamage", [](StopsTableEntries& t) { t[25] = kGsResetBadSum; },
                   std::string(" has 1 damaged SysEx entry; Kavel will not send it:\n"
                               "entry 25 (global[25]): message 1: Roland checksum is 40, "
                               "should be 41") +
                       kCheckLine},
        DamageCase{"SecondMessageWithAHighByte",
                   [](StopsTableEntries& t) {
                       t[100] = std::string("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7"
                                            "\xF0\x41\x90\xF7",
                                            15);
                   },
                   std::string(" has 1 damaged SysEx entry; Kavel will not send it:\n"
                               "entry 100 (mutazioni[0].great): message 2: byte 3 is 90, "
                               "above 7F") +
                       kCheckLine},
        DamageCase{"SeveralInIndexOrder",
                   [](StopsTableEntries& t) {
                       t[421] = "\xF0";
                       t[3] = "\x7F";
                       t[199] = std::string("\xF0\x7E\x7F\xF7\x00", 5);
                       t[415] = "\x90\x3C\x40";
                   },
                   std::string(" has 4 damaged SysEx entries; Kavel will not send them:\n"
                               "entry 3 (global[3]): message 1 starts with 7F, not F0\n"
                               "entry 199 (pedale[19]): message 2 starts with 00, not F0\n"
                               "entry 415 (canceller[5]): message 1 starts with 90, not F0\n"
                               "entry 421 (canceller[11]): message 1 has no F7") +
                       kCheckLine},
        DamageCase{"SixShowFiveAndOneMore",
                   [](StopsTableEntries& t) {
                       for (int i = 40; i <= 45; ++i)
                           t[static_cast<std::size_t>(i)] = "\xF0";
                   },
                   std::string(" has 6 damaged SysEx entries; Kavel will not send them:\n"
                               "entry 40 (fondi[0].great): message 1 has no F7\n"
                               "entry 41 (fondi[1].great): message 1 has no F7\n"
                               "entry 42 (fondi[2].great): message 1 has no F7\n"
                               "entry 43 (fondi[3].great): message 1 has no F7\n"
                               "entry 44 (fondi[4].great): message 1 has no F7\n"
                               "and 1 more.") +
                       kCheckLine},
        DamageCase{"EverySysExEntry",
                   [](StopsTableEntries& t) {
                       for (auto& entry : t)
                           entry = "\x7F";
                   },
                   std::string(" has 212 damaged SysEx entries; Kavel will not send them:\n"
                               "entry 0 (global[0]): message 1 starts with 7F, not F0\n"
                               "entry 1 (global[1]): message 1 starts with 7F, not F0\n"
                               "entry 2 (global[2]): message 1 starts with 7F, not F0\n"
                               "entry 3 (global[3]): message 1 starts with 7F, not F0\n"
                               "entry 4 (global[4]): message 1 starts with 7F, not F0\n"
                               "and 207 more.") +
                       kCheckLine}),
    [](const auto& info) { return info.param.name; });

TEST_F(StopsTableLoading, DamagedDefaultAfterAFailedLoadIsNamedAfterTheFailure) {
    auto table = *readDat((folder / "kavel.DAT").string()).table;
    table[180] = "\x90\x24\x40";
    ASSERT_EQ(writeDat((folder / "kavel.DAT").string(), table), std::nullopt);
    auto& k = console();
    k.state.config.PATH_DAT = folder.string(); // a folder, not a table
    k.tableFile.CARICAMENTO_DAT();
    const std::string fallback = (folder / "kavel.dat").string();
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                  "Error Loading Stops Table File " + folder.string() + kLoadError,
                                  "The Stops Table " + fallback +
                                      " has 1 damaged SysEx entry; Kavel will not send it:\n"
                                      "entry 180 (pedale[0]): message 1 starts with 90, not F0" +
                                      kCheckLine}));
    EXPECT_EQ(k.state.stops.STOPS_TABLE[180], "\x90\x24\x40");
}

TEST_F(StopsTableLoading, StartUpLoadsTheShippedOrganWhateverTheCaseOfItsName) {
    auto& k = console();
    k.Form_Load(); // the default path says kavel.dat; the file is kavel.DAT
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Midi devices are unassigned : go to Setup !"});
    EXPECT_EQ(k.state.stops.STOPS_TABLE[200 + 1], "Principale 8'");
}

// A write that fails says so and leaves the file it would have replaced as it was.
TEST_F(StopsTableLoading, WriteFailureIsReportedAndTheOldFileKept) {
    auto& k = console();
    const auto file = (folder / "ok.dat").string();
    k.state.stops.STOPS_TABLE[7] = "keep";
    ASSERT_TRUE(k.tableFile.writeStopsTable(file));
    k.state.stops.STOPS_TABLE[7] = std::string(70000, 'x'); // more than an entry holds
    EXPECT_FALSE(k.tableFile.writeStopsTable(file));
    EXPECT_FALSE(k.tableFile.writeStopsTable((folder / "missing" / "x.dat").string()));
    ASSERT_EQ(user.shown.size(), 2u);
    for (const auto& box : user.shown)
        EXPECT_EQ(box.text.rfind("The Stops Table was not saved.", 0), 0u);
    ASSERT_TRUE(readDat(file).table);
    EXPECT_EQ((*readDat(file).table)[7], "keep");
    k.state.stops.STOPS_TABLE[7] = "new";
    EXPECT_TRUE(k.tableFile.writeStopsTable((folder / "ok.dat").string()));
    EXPECT_EQ(readDat((folder / "ok.dat").string()).table, k.state.stops.STOPS_TABLE);
}

} // namespace
} // namespace kavel::test
