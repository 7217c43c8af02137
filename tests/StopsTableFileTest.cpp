#include "ConsoleFixture.h"

#include "stops_table/DatFile.h"
#include "stops_table/TableText.h"

#include <fstream>
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
    k.CARICAMENTO_DAT();
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
    k.CARICAMENTO_DAT();
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
    k.CARICAMENTO_DAT();
    EXPECT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(k.state.stops.STOPS_TABLE[353], "Pedale");
}

TEST_F(StopsTableLoading, StartUpLoadsTheShippedOrganWhateverTheCaseOfItsName) {
    auto& k = console();
    k.Form_Load(); // the default path says kavel.dat; the file is kavel.DAT
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Midi devices are unassigned : go to Setup !"});
    EXPECT_EQ(k.state.stops.STOPS_TABLE[200 + 1], "Principale 8'");
}

TEST_F(StopsTableLoading, WriteFailureIsReportedAndTheTableKept) {
    auto& k = console();
    k.state.stops.STOPS_TABLE[7] = "keep";
    EXPECT_FALSE(k.writeStopsTable((folder / "missing" / "x.dat").string()));
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text.rfind("The Stops Table was not saved.", 0), 0u);
    EXPECT_EQ(k.state.stops.STOPS_TABLE[7], "keep");
    EXPECT_TRUE(k.writeStopsTable((folder / "ok.dat").string()));
    EXPECT_EQ(readDat((folder / "ok.dat").string()).table, k.state.stops.STOPS_TABLE);
}

} // namespace
} // namespace kavel::test
