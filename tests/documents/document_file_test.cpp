#include "documents/document_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <limits>
#include <sys/resource.h>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "document_bytes.h"
#include "document_test_support.h"
#include "documents/file_io.h"
#include "kernel/object_image.h"

namespace drex {
namespace {

using namespace testdoc;

// ---------------------------------------------------------------------------------------------
// Layout: the writer against bytes spelled out by hand.

TEST_F(DocumentTest, EmptyConstructionIsTheHeaderAlone) {
  prog.Doc.View.OrgX = -2;
  prog.Doc.View.OrgY = 0x1234;
  prog.Doc.View.Zoom = 0.5;
  const std::vector<uint8_t> bytes = CurrentBytes();
  // Magic, three zero counts, OrgX -2, OrgY 0x1234, then 0.5 = 0x3FE0000000000000 little-endian.
  const std::vector<uint8_t> expected = {0xCC, 0x1B, 0x97, 0x20, 0, 0, 0, 0, 0, 0,    0xFE,
                                         0xFF, 0x34, 0x12, 0,    0, 0, 0, 0, 0, 0xE0, 0x3F};
  EXPECT_EQ(bytes, expected);

  ASSERT_TRUE(SaveDocument(prog, Path("empty.d2d")));
  prog.Doc.View = TViewState{};
  ASSERT_EQ(LoadDocument(prog, Path("empty.d2d")), LoadOk);
  EXPECT_EQ(prog.Doc.ObjCount, 0);
  EXPECT_EQ(prog.Doc.View.OrgX, -2);
  EXPECT_EQ(prog.Doc.View.OrgY, 0x1234);
  EXPECT_EQ(prog.Doc.View.Zoom, 0.5);
}

TEST_F(DocumentTest, ImageLengthsAndOffsetsByKind) {
  struct Case {
    const char* what;
    uint8_t kind;
    int16_t refCount;
    std::size_t length;
  };
  const Case cases[] = {
      {"free point", okPoint, 0, 736},
      {"midpoint", okMidpoint, 2, 736},
      {"closed triangle", okPolyline, 4, 738},
      {"polynomial of 10 nodes", okPolynomial, 10, 750},
      {"polyline of 503 vertices", okPolyline, 503, 1736},
      {"graph", okFunction, 0, 736},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Construction doc;
    doc.ObjCount = 1;
    TGeomObject& o = doc[1];
    o.Kind = c.kind;
    o.RefCount = c.refCount;
    o.Refs[0] = 0x0102;
    for (int k = 1; k < RefSlots; ++k)
      o.Refs[static_cast<std::size_t>(k)] = static_cast<int16_t>(0x7000 + k);
    o.X1 = 1.0; // 3F F0 00 .. at image offset 550
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(SerializeDocument(doc, bytes));
    ASSERT_EQ(bytes.size(), DocumentHeaderBytes + c.length);
    EXPECT_EQ(DocumentLength(doc), bytes.size());
    const uint8_t* img = bytes.data() + DocumentHeaderBytes;
    EXPECT_EQ(img[0], c.kind);
    EXPECT_EQ(img[557], 0x3F);
    EXPECT_EQ(img[556], 0xF0);
    EXPECT_EQ(img[726] | (img[727] << 8), c.refCount);
    EXPECT_EQ(img[728], 0x02);
    EXPECT_EQ(img[729], 0x01);
    // The last stored word is Refs[m]: m = RefCount for 10 and 12, else 3.
    const int m = HasVariableRefs(c.kind) ? c.refCount : 3;
    EXPECT_EQ(img[c.length - 2] | (img[c.length - 1] << 8), 0x7000 + m);
  }
}

TEST_F(DocumentTest, HandWrittenFileLoadsAndSavesBackByteForByte) {
  DocSpec d = SampleDocument();
  d.Objects[5].Fill = 0xC3; // odd bytes everywhere in the fixed part of the polyline
  const std::vector<uint8_t> original = DocumentBytes(d);
  const std::string path = Fixture(d);
  ASSERT_EQ(LoadDocument(prog, path), LoadOk);
  EXPECT_EQ(prog.Doc.ObjCount, 9);
  EXPECT_EQ(prog.Doc.MeasureCount, 2);
  EXPECT_EQ(prog.Doc.DynExprCount, 1);
  EXPECT_EQ(prog.Doc.View.OrgX, -12);
  EXPECT_EQ(prog.Doc.View.OrgY, 345);
  EXPECT_EQ(prog.Doc[6].RefCount, 4);
  EXPECT_EQ(prog.Doc[6].Refs[4], 1);
  EXPECT_EQ(prog.Doc[9].Refs[2], 4);
  EXPECT_EQ(prog.Doc.Measurements[1].Objects[2], 777);
  EXPECT_EQ(prog.Doc.DynExprs[0].DisplayName.Bytes(), "AB:");
  EXPECT_EQ(CurrentBytes(), original);

  const std::string copy = Path("copy.d2d");
  ASSERT_TRUE(SaveDocument(prog, copy));
  EXPECT_EQ(ReadFile(copy), original);
}

TEST_F(DocumentTest, LoadReplacesStateAndSaveClearsModified) {
  MakeCurrentConstruction();
  prog.Modified = true;
  ASSERT_EQ(LoadDocument(prog, Fixture(SampleDocument())), LoadOk);
  EXPECT_FALSE(prog.Modified);
  EXPECT_EQ(prog.RecentFiles, std::vector<std::string>{Path("doc.d2d")});
  EXPECT_EQ(menuRebuilds, 1);
  // The file code leaves name, refresh and operation to the commands.
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(prog.DocFileName, "NoName.d2d");

  prog.Modified = true;
  ASSERT_TRUE(SaveDocument(prog, Path("out.d2d")));
  EXPECT_FALSE(prog.Modified);
}

// ---------------------------------------------------------------------------------------------
// Files that must be refused, each leaving the current construction as it was.

struct BadFile {
  const char* what;
  void (*change)(DocSpec&);
  DocCheck check;
};

void PrintTo(const BadFile& b, std::ostream* os) { *os << b.what; }

class RefusedDocument : public DocumentTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(RefusedDocument, IsRefusedAndChangesNothing) {
  const BadFile& bad = GetParam();
  DocSpec d = SampleDocument();
  bad.change(d);
  const std::vector<uint8_t> bytes = DocumentBytes(d);

  // The parser names the fault the case is about.
  Construction scratch;
  EXPECT_EQ(ParseDocument(bytes.data(), bytes.size(), scratch), bad.check);

  MakeCurrentConstruction();
  prog.Modified = true;
  prog.RecentFiles = {"/x/one.d2d", "/x/two.d2d"};
  prog.DocFileName = "/x/current.d2d";
  const std::vector<uint8_t> before = CurrentBytes();
  const std::string path = Fixture(d);
  const int expected = bad.check == DocCheck::ReadError ? LoadReadError : LoadInvalid;
  desk.ExpectMessage(expected == LoadReadError ? ReadErrorMessage(path) : InvalidMessage(path), mbOK, mbOK);

  EXPECT_EQ(LoadDocument(prog, path), expected);
  EXPECT_EQ(CurrentBytes(), before);
  EXPECT_EQ(prog.Doc[2].X1, 10.0);
  EXPECT_TRUE(prog.Modified);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"/x/one.d2d", "/x/two.d2d"}));
  EXPECT_EQ(prog.DocFileName, "/x/current.d2d");
  EXPECT_EQ(menuRebuilds, 0);
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

const BadFile BadFiles[] = {
    // Header, in the order it is checked.
    {"wrong magic", [](DocSpec& d) { d.Magic = 0x20971bcd; }, DocCheck::BadMagic},
    {"10001 objects", [](DocSpec& d) { d.ObjCount = 10001; }, DocCheck::TooManyObjects},
    {"101 dynamic expressions", [](DocSpec& d) { d.DynExprCount = 101; }, DocCheck::TooManyDynExprs},
    {"101 measurements", [](DocSpec& d) { d.MeasureCount = 101; }, DocCheck::TooManyMeasures},
    {"zoom 0", [](DocSpec& d) { d.Zoom = 0; }, DocCheck::ZoomTooSmall},
    {"zoom exactly 1e-7", [](DocSpec& d) { d.Zoom = 1e-7; }, DocCheck::ZoomTooSmall},
    {"zoom negative", [](DocSpec& d) { d.Zoom = -5; }, DocCheck::ZoomTooSmall},
    {"zoom NaN", [](DocSpec& d) { d.Zoom = NaN; }, DocCheck::ZoomTooSmall},
    {"zoom exactly 1e6", [](DocSpec& d) { d.Zoom = 1e6; }, DocCheck::ZoomTooLarge},
    {"zoom infinite", [](DocSpec& d) { d.Zoom = HUGE_VAL; }, DocCheck::ZoomTooLarge},
    {"OrgX 10000", [](DocSpec& d) { d.OrgX = 10000; }, DocCheck::OrgXOutOfRange},
    {"OrgX -10000", [](DocSpec& d) { d.OrgX = -10000; }, DocCheck::OrgXOutOfRange},
    {"OrgY 10000", [](DocSpec& d) { d.OrgY = 10000; }, DocCheck::OrgYOutOfRange},
    {"OrgY -32768", [](DocSpec& d) { d.OrgY = -32768; }, DocCheck::OrgYOutOfRange},
    {"negative ObjCount", [](DocSpec& d) { d.ObjCount = -1; }, DocCheck::NegativeCount},
    {"negative MeasureCount", [](DocSpec& d) { d.MeasureCount = -32768; }, DocCheck::NegativeCount},
    {"negative DynExprCount", [](DocSpec& d) { d.DynExprCount = -3; }, DocCheck::NegativeCount},
    // Object images.
    {"kind 14", [](DocSpec& d) { d.Objects[1].Kind = 14; }, DocCheck::BadKind},
    {"kind 255", [](DocSpec& d) { d.Objects[8].Kind = 255; }, DocCheck::BadKind},
    {"negative RefCount of a midpoint", [](DocSpec& d) { d.Objects[3].RefCount = -1; }, DocCheck::BadRefCount},
    {"line with 4 references", [](DocSpec& d) { d.Objects[4].RefCount = 4; }, DocCheck::BadRefCount},
    {"negative RefCount of a polyline",
     [](DocSpec& d) {
       d.Objects[5].RefCount = -1;
       d.Objects[5].Refs.clear();
     },
     DocCheck::BadRefCount},
    {"polyline with 504 vertices",
     [](DocSpec& d) {
       d.Objects[5].RefCount = 504;
       d.Objects[5].Refs.assign(504, 1);
     },
     DocCheck::BadRefCount},
    {"polynomial with 11 nodes",
     [](DocSpec& d) {
       d.Objects[6].RefCount = 11;
       d.Objects[6].Refs = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2};
     },
     DocCheck::BadRefCount},
    {"name length 21", [](DocSpec& d) { d.Objects[0].NameLen = 21; }, DocCheck::BadStringLength},
    {"name length 255", [](DocSpec& d) { d.Objects[7].NameLen = 255; }, DocCheck::BadStringLength},
    {"reference 0", [](DocSpec& d) { d.Objects[3].Refs[1] = 0; }, DocCheck::BadReference},
    {"reference past ObjCount", [](DocSpec& d) { d.Objects[4].Refs[0] = 10; }, DocCheck::BadReference},
    {"negative reference", [](DocSpec& d) { d.Objects[5].Refs[2] = -3; }, DocCheck::BadReference},
    {"polynomial node past ObjCount", [](DocSpec& d) { d.Objects[6].Refs[2] = 32767; }, DocCheck::BadReference},
    {"object refers to itself", [](DocSpec& d) { d.Objects[3].Refs[0] = 4; }, DocCheck::SelfReference},
    {"polyline vertex is the polyline", [](DocSpec& d) { d.Objects[5].Refs[3] = 6; }, DocCheck::SelfReference},
    {"two objects refer to each other", [](DocSpec& d) { d.Objects[3].Refs[1] = 9; }, DocCheck::ReferenceCycle},
    {"cycle through three objects",
     [](DocSpec& d) {
       d.Objects[0] = {1, 2, {9, 2}, "A"}; // 1 → 9 → 4 → 1
     },
     DocCheck::ReferenceCycle},
    // Measurements.
    {"measurement type 2", [](DocSpec& d) { d.Measures[0].Type = 2; }, DocCheck::BadMeasureType},
    {"angle at a line", [](DocSpec& d) { d.Measures[0].B = 5; }, DocCheck::BadMeasureObject},
    {"angle with third number 0", [](DocSpec& d) { d.Measures[0].C = 0; }, DocCheck::BadMeasureObject},
    {"distance to object 10", [](DocSpec& d) { d.Measures[1].B = 10; }, DocCheck::BadMeasureObject},
    {"distance from a circle", [](DocSpec& d) { d.Measures[1].A = 9; }, DocCheck::BadMeasureObject},
    // Length.
    {"one byte too long", [](DocSpec& d) { d.Extra = 1; }, DocCheck::TrailingBytes},
    {"counts say less than there is", [](DocSpec& d) { d.DynExprCount = 0; }, DocCheck::TrailingBytes},
    {"one byte short", [](DocSpec& d) { d.Cut = 1; }, DocCheck::ReadError},
    {"header cut", [](DocSpec& d) { d.Cut = 99999; }, DocCheck::ReadError},
    {"file ends inside an object's fixed part", [](DocSpec& d) { d.Cut = 700 + 7 * 2 + 512 + 736; },
     DocCheck::ReadError},
    {"file ends inside the polynomial's references",
     [](DocSpec& d) {
       d.Objects.resize(7);
       d.Measures.clear();
       d.DynTexts.clear();
       d.Cut = 3;
     },
     DocCheck::ReadError},
    {"more objects announced than stored", [](DocSpec& d) { d.ObjCount = 10; }, DocCheck::ReadError},
    {"more measurements announced than stored",
     [](DocSpec& d) {
       d.MeasureCount = 3;
       d.DynTexts.clear();
     },
     DocCheck::ReadError},
};

INSTANTIATE_TEST_SUITE_P(Malformed, RefusedDocument, ::testing::ValuesIn(BadFiles));

TEST_F(DocumentTest, FilesThatMustLoad) {
  struct GoodFile {
    const char* what;
    void (*change)(DocSpec&);
  };
  const GoodFile cases[] = {
      {"unused reference words hold anything",
       [](DocSpec& d) {
         d.Objects[4].Refs = {1, 2, -999};
       }},
      {"a point with three references",
       [](DocSpec& d) {
         d.Objects[2].RefCount = 3;
         d.Objects[2].Refs = {1, 2, 2};
       }},
      {"a polyline with no vertices",
       [](DocSpec& d) {
         d.Objects[5].RefCount = 0;
         d.Objects[5].Refs.clear();
       }},
      {"a polyline of 503 vertices",
       [](DocSpec& d) {
         d.Objects[5].RefCount = 503;
         d.Objects[5].Refs.assign(503, 2);
       }},
      {"a polynomial of 10 nodes",
       [](DocSpec& d) {
         d.Objects[6].RefCount = 10;
         d.Objects[6].Refs.assign(10, 3);
       }},
      {"references to later objects",
       [](DocSpec& d) {
         d.Objects[0] = {1, 2, {3, 8}, "A"};
       }},
      {"name of 20 bytes", [](DocSpec& d) { d.Objects[0].NameLen = 20; }},
      {"view at the limits",
       [](DocSpec& d) {
         d.OrgX = 9999;
         d.OrgY = -9999;
         d.Zoom = 999999.0;
       }},
      {"100 measurements and 100 expressions",
       [](DocSpec& d) {
         d.Measures.assign(100, {1, 3, 2, 0});
         d.DynTexts.assign(100, std::string(254, 'x'));
       }},
  };
  for (const GoodFile& c : cases) {
    SCOPED_TRACE(c.what);
    DocSpec d = SampleDocument();
    c.change(d);
    const std::vector<uint8_t> bytes = DocumentBytes(d);
    ASSERT_EQ(LoadDocument(prog, Fixture(d)), LoadOk);
    EXPECT_EQ(CurrentBytes(), bytes);
  }
}

TEST_F(DocumentTest, LoadedPolylineHasNoReferencesLeftFromAnEarlierDocument) {
  DocSpec big = SampleDocument();
  big.Objects[5].RefCount = 503;
  big.Objects[5].Refs.assign(503, 2);
  ASSERT_EQ(LoadDocument(prog, Fixture(big, "big.d2d")), LoadOk);
  // The loads take turns between two tables: the third one is parsed into the table of "big".
  const std::string small = Fixture(SampleDocument(), "small.d2d");
  ASSERT_EQ(LoadDocument(prog, small), LoadOk);
  ASSERT_EQ(LoadDocument(prog, small), LoadOk);
  EXPECT_EQ(prog.Doc[6].RefCount, 4);
  for (int k = 5; k < RefSlots; ++k)
    ASSERT_EQ(prog.Doc[6].Refs[static_cast<std::size_t>(k)], 0) << k;
}

TEST_F(DocumentTest, RefusedFileNamedNoNameGivesNoMessage) {
  DocSpec d = SampleDocument();
  d.Zoom = 0;
  EXPECT_EQ(LoadDocument(prog, Fixture(d, NoNameDocument)), LoadInvalid);
  // Only the name counts: "noname.d2d" is an ordinary file.
  const std::string other = Fixture(d, "noname.d2d");
  desk.ExpectMessage(InvalidMessage(other), mbOK, mbOK);
  EXPECT_EQ(LoadDocument(prog, other), LoadInvalid);
  // A read error is reported whatever the name.
  d.Zoom = 1;
  d.Cut = 1;
  const std::string cut = Fixture(d, NoNameDocument);
  desk.ExpectMessage(ReadErrorMessage(cut), mbOK, mbOK);
  EXPECT_EQ(LoadDocument(prog, cut), LoadReadError);
}

TEST_F(DocumentTest, UnreadableFilesAreReadErrors) {
  MakeCurrentConstruction();
  const std::vector<uint8_t> before = CurrentBytes();
  const std::string missing = Path("missing.d2d");
  desk.ExpectMessage(ReadErrorMessage(missing), mbOK, mbOK);
  EXPECT_EQ(LoadDocument(prog, missing), LoadReadError);
  const std::string folder = dir.u8string();
  desk.ExpectMessage(ReadErrorMessage(folder), mbOK, mbOK);
  EXPECT_EQ(LoadDocument(prog, folder), LoadReadError);
  const std::string pipe = Path("pipe.d2d");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  desk.ExpectMessage(ReadErrorMessage(pipe), mbOK, mbOK);
  EXPECT_EQ(LoadDocument(prog, pipe), LoadReadError); // without waiting for a writer
  EXPECT_EQ(CurrentBytes(), before);
}

TEST_F(DocumentTest, OversizedFileIsRefusedWithoutReadingItAll) {
  DocSpec d = SampleDocument();
  d.Extra = MaxDocumentBytes + 10;
  const std::string path = Fixture(d);
  desk.ExpectMessage(InvalidMessage(path), mbOK, mbOK);
  EXPECT_EQ(LoadDocument(prog, path), LoadInvalid);
}

// ---------------------------------------------------------------------------------------------
// The checks on their own.

TEST(DocumentChecks, ChainsOfTenThousandObjects) {
  Construction doc;
  doc.ObjCount = MaxObjects;
  // Each object refers to the next one: the deepest chain the table can hold, walked from object 1.
  for (int n = 1; n <= MaxObjects; ++n) {
    doc[n].Kind = okMidpoint;
    doc[n].RefCount = n < MaxObjects ? 1 : 0;
    doc[n].Refs[1] = static_cast<int16_t>(n + 1);
  }
  EXPECT_EQ(CheckReferenceCycles(doc), DocCheck::Ok);
  doc[MaxObjects].RefCount = 1;
  doc[MaxObjects].Refs[1] = 1; // closes the ring
  EXPECT_EQ(CheckReferenceCycles(doc), DocCheck::ReferenceCycle);
  doc[MaxObjects].Refs[1] = 5000; // a cycle that does not reach the start
  EXPECT_EQ(CheckReferenceCycles(doc), DocCheck::ReferenceCycle);
  // Shared parents are no cycle: everything refers to object 1 twice.
  for (int n = 2; n <= MaxObjects; ++n) {
    doc[n].RefCount = 2;
    doc[n].Refs[1] = 1;
    doc[n].Refs[2] = static_cast<int16_t>(n - 1);
  }
  doc[1].RefCount = 0;
  EXPECT_EQ(CheckReferenceCycles(doc), DocCheck::Ok);
}

TEST(DocumentChecks, HeaderOrderAndReadingPastTheEnd) {
  DocumentHeader h;
  h.Magic = 0;
  h.ObjCount = 20000;
  EXPECT_EQ(CheckDocumentHeader(h), DocCheck::BadMagic);
  h.Magic = DocumentMagic;
  h.View.Zoom = 0;
  h.MeasureCount = 200;
  EXPECT_EQ(CheckDocumentHeader(h), DocCheck::TooManyObjects);
  h.ObjCount = -5; // a negative count is reported only after the view checks
  EXPECT_EQ(CheckDocumentHeader(h), DocCheck::TooManyMeasures);
  h.MeasureCount = 0;
  EXPECT_EQ(CheckDocumentHeader(h), DocCheck::ZoomTooSmall);
  h.View.Zoom = 1;
  EXPECT_EQ(CheckDocumentHeader(h), DocCheck::NegativeCount);

  // Every prefix of a valid file is refused as a read error, never read past.
  const std::vector<uint8_t> bytes = DocumentBytes(SampleDocument());
  for (std::size_t n = 0; n < bytes.size(); n += (n < 40 ? 1 : 97)) {
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    Construction scratch;
    EXPECT_EQ(ParseDocument(prefix.data(), prefix.size(), scratch), DocCheck::ReadError) << n;
  }
}

TEST(DocumentChecks, UnstorableConstructionIsNotSerialised) {
  Construction doc;
  doc.ObjCount = 1;
  doc[1].Kind = okPolyline;
  doc[1].RefCount = 504;
  std::vector<uint8_t> out = {1, 2};
  EXPECT_EQ(DocumentLength(doc), 0u);
  EXPECT_FALSE(SerializeDocument(doc, out));
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 2}));
  doc[1].RefCount = 3;
  doc.DynExprCount = -1;
  EXPECT_FALSE(SerializeDocument(doc, out));
}

// ---------------------------------------------------------------------------------------------
// Saving that fails keeps the previous file and the modified flag.

TEST_F(DocumentTest, SaveIntoMissingFolderFails) {
  MakeCurrentConstruction();
  prog.Modified = false;
  const std::string path = Path("no/such/folder/doc.d2d");
  desk.ExpectMessage(SaveErrorMessage(path), mbOK, mbOK);
  EXPECT_FALSE(SaveDocument(prog, path));
  EXPECT_TRUE(prog.Modified);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(path)));
}

TEST_F(DocumentTest, SaveReplacesTheOldFileAndLeavesNoTemporary) {
  const std::string path = Path("doc.d2d");
  WriteFile(path, std::vector<uint8_t>(5000, 0xAB));
  MakeCurrentConstruction();
  ASSERT_TRUE(SaveDocument(prog, path));
  EXPECT_EQ(ReadFile(path), CurrentBytes());
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(DocumentTest, SaveKeepsLinksAndPermissions) {
  namespace fs = std::filesystem;
  const std::string real = Path("real.d2d");
  const std::string link = Path("link.d2d");
  WriteFile(real, {1, 2, 3});
  fs::permissions(fs::u8path(real), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(fs::u8path(real), fs::u8path(link));
  MakeCurrentConstruction();
  ASSERT_TRUE(SaveDocument(prog, link));
  EXPECT_TRUE(fs::is_symlink(fs::u8path(link)));
  EXPECT_EQ(ReadFile(real), CurrentBytes());
  EXPECT_EQ(fs::status(fs::u8path(real)).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

#ifdef RLIMIT_FSIZE
TEST_F(DocumentTest, SaveThatCannotWriteEverythingKeepsTheOldFile) {
  const std::string path = Path("doc.d2d");
  const std::vector<uint8_t> old(100, 0x42);
  WriteFile(path, old);
  for (int k = 0; k < 3; ++k)
    prog.AppendObject(okPoint);
  prog.Modified = true;

  // Files may grow to 1000 bytes only; the document needs 22 + 3·736.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  desk.ExpectMessage(SaveErrorMessage(path), mbOK, mbOK);
  const bool saved_ok = SaveDocument(prog, path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_TRUE(prog.Modified);
  EXPECT_EQ(ReadFile(path), old);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1) << "the temporary file was left behind";
}
#endif

/// Runs `check` as an ordinary user: root may write any file, which would hide the permissions.
bool AsOrdinaryUser(const std::function<bool()>& check) {
  if (geteuid() != 0) return check();
  const pid_t child = fork();
  if (child == 0) {
    constexpr uid_t Nobody = 65534;
    if (setgid(Nobody) != 0 || setuid(Nobody) != 0) _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(DocumentTest, SaveHonoursTheTargetsPermissionsNotOnlyTheFolders) {
  namespace fs = std::filesystem;
  const std::vector<uint8_t> old(10, 0x42), fresh(30, 0x17);
  // A read-only document in a writable folder is refused and kept.
  const fs::path open = dir / "open";
  fs::create_directory(open);
  fs::permissions(open, fs::perms::all);
  const std::string readOnly = (open / "ro.d2d").u8string();
  WriteFile(readOnly, old);
  fs::permissions(fs::u8path(readOnly), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // A writable document in a folder where nothing new can be made is written in place.
  const fs::path closed = dir / "closed";
  fs::create_directory(closed);
  const std::string writable = (closed / "rw.d2d").u8string();
  WriteFile(writable, old);
  fs::permissions(fs::u8path(writable),
                  fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
  fs::permissions(closed, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(dir, fs::perms::all);

  EXPECT_TRUE(AsOrdinaryUser([&] { return !WriteFileReplacing(readOnly, fresh); }));
  EXPECT_EQ(ReadFile(readOnly), old);
  EXPECT_TRUE(AsOrdinaryUser([&] { return WriteFileReplacing(writable, fresh); }));
  EXPECT_EQ(ReadFile(writable), fresh);
  // A new document in that folder cannot be made at all.
  EXPECT_TRUE(AsOrdinaryUser([&] { return !WriteFileReplacing((closed / "new.d2d").u8string(), fresh); }));
  EXPECT_FALSE(fs::exists(closed / "new.d2d"));
  fs::permissions(closed, fs::perms::owner_all);
}

// ---------------------------------------------------------------------------------------------
// Recent files.

TEST_F(DocumentTest, RecentListKeepsFiveNewestFirst) {
  for (const char* p : {"/d/1.d2d", "/d/2.d2d", "/d/3.d2d", "/d/4.d2d", "/d/5.d2d"})
    UpdateRecentFiles(prog, p, rfPutFirst);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"/d/5.d2d", "/d/4.d2d", "/d/3.d2d", "/d/2.d2d", "/d/1.d2d"}));
  UpdateRecentFiles(prog, "/d/6.d2d", rfPutFirst);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"/d/6.d2d", "/d/5.d2d", "/d/4.d2d", "/d/3.d2d", "/d/2.d2d"}));
  UpdateRecentFiles(prog, "/d/3.d2d", rfPutFirst);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"/d/3.d2d", "/d/6.d2d", "/d/5.d2d", "/d/4.d2d", "/d/2.d2d"}));
  UpdateRecentFiles(prog, "/d/5.d2d", rfRemove);
  UpdateRecentFiles(prog, "/d/absent.d2d", rfRemove);
  UpdateRecentFiles(prog, "/d/3.d2d", rfRebuild);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"/d/3.d2d", "/d/6.d2d", "/d/4.d2d", "/d/2.d2d"}));
  EXPECT_EQ(menuRebuilds, 10);
  EXPECT_EQ(RecentFileCaptions(prog.RecentFiles),
            (std::vector<std::string>{"&1 /d/3.d2d", "&2 /d/6.d2d", "&3 /d/4.d2d", "&4 /d/2.d2d"}));
}

TEST_F(DocumentTest, RecentListFoldsOnlyLatinLetters) {
  UpdateRecentFiles(prog, "c:\\a.d2d", rfPutFirst);
  UpdateRecentFiles(prog, "c:\\b.d2d", rfPutFirst);
  UpdateRecentFiles(prog, "C:\\A.D2D", rfPutFirst);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"C:\\A.D2D", "c:\\b.d2d"}));

  // Cyrillic letters match only exactly, and nothing but a..z is folded.
  UpdateRecentFiles(prog, "c:\\Файл.d2d", rfPutFirst);
  UpdateRecentFiles(prog, "c:\\файл.d2d", rfPutFirst);
  UpdateRecentFiles(prog, "c:\\[x].d2d", rfPutFirst);
  UpdateRecentFiles(prog, "c:\\{x}.d2d", rfPutFirst);
  EXPECT_EQ(prog.RecentFiles,
            (std::vector<std::string>{"c:\\{x}.d2d", "c:\\[x].d2d", "c:\\файл.d2d", "c:\\Файл.d2d", "C:\\A.D2D"}));

  // With a name twice in the list, the last occurrence is the one found.
  const std::vector<std::string> list = {"/a", "/b", "/A", "/c"};
  EXPECT_EQ(FindRecentFile(list, "/a"), 2);
  EXPECT_EQ(FindRecentFile(list, "/d"), -1);
  EXPECT_EQ(FindRecentFile(list, "/ab"), -1);
}

TEST_F(DocumentTest, LoadingTheSameFileTwiceListsItOnce) {
  const std::string a = Fixture(SampleDocument(), "a.d2d");
  const std::string b = Fixture(SampleDocument(), "b.d2d");
  ASSERT_EQ(LoadDocument(prog, a), LoadOk);
  ASSERT_EQ(LoadDocument(prog, b), LoadOk);
  ASSERT_EQ(LoadDocument(prog, a), LoadOk);
  ASSERT_EQ(LoadDocument(prog, a), LoadOk);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{a, b}));
}

// Writes the fixture documents as seeds for the fuzzer when DREX2D_SEED_DIR names a folder.
TEST_F(DocumentTest, WriteFuzzSeeds) {
  const char* seedDir = std::getenv("DREX2D_SEED_DIR");
  if (seedDir == nullptr) GTEST_SKIP() << "DREX2D_SEED_DIR not set";
  const std::filesystem::path out = std::filesystem::u8path(seedDir);
  std::filesystem::create_directories(out);
  WriteFile((out / "empty.d2d").u8string(), DocumentBytes(DocSpec{}));
  WriteFile((out / "sample.d2d").u8string(), DocumentBytes(SampleDocument()));
  DocSpec cycle = SampleDocument();
  cycle.Objects[3].Refs[1] = 9;
  WriteFile((out / "cycle.d2d").u8string(), DocumentBytes(cycle));
  DocSpec shapes;
  shapes.Objects = {{0, 0, {}, "A"}, {0, 0, {}, "B"}, {12, 2, {1, 2}, "p"}, {10, 3, {1, 2, 1}, "l"}};
  shapes.Measures = {{1, 1, 2, 0}};
  WriteFile((out / "shapes.d2d").u8string(), DocumentBytes(shapes));
}

} // namespace
} // namespace drex
