#include "documents/document_commands.h"

#include <gtest/gtest.h>

#include "document_bytes.h"
#include "document_test_support.h"

namespace drex {
namespace {

using namespace testdoc;

constexpr int YesNoCancel = mbYes | mbNo | mbCancel;

class DocumentCommandTest : public DocumentTest {
protected:
  DocumentCommandTest() {
    cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    SetDocName(prog, NoNameDocument);
  }
  ~DocumentCommandTest() override { std::filesystem::current_path(cwd); }

  std::string AskSave() const { return FormatMsg(prog.Msgs[49], {prog.DocFileName}); }
  std::string NoNamePath() const { return Path(NoNameDocument); }

  std::filesystem::path cwd;
};

TEST_F(DocumentCommandTest, DocumentNameAndTitle) {
  EXPECT_EQ(prog.DocFileName, NoNamePath());
  EXPECT_TRUE(IsUnnamedDocument(prog));
  EXPECT_EQ(prog.Title, NoNamePath() + " - DREX-2D");
  prog.Config.DrawFName = false;
  SetDocName(prog, "sub/../plan.d2d");
  EXPECT_EQ(prog.DocFileName, Path("plan.d2d"));
  EXPECT_EQ(prog.Title, "DREX-2D");
  EXPECT_FALSE(IsUnnamedDocument(prog));
  SetDocName(prog, "/x/noname.d2d");
  EXPECT_FALSE(IsUnnamedDocument(prog));
}

TEST_F(DocumentCommandTest, NewAsksOnlyWhenThereAreObjects) {
  MakeCurrentConstruction();
  SetDocName(prog, "/x/old.d2d");
  prog.Modified = true;
  desk.ExpectMessage(prog.Msgs[32], mbYes | mbNo, mbNo);
  EXPECT_FALSE(RunDocumentCommand(prog, TagNew) && prog.Doc.ObjCount == 0);
  EXPECT_EQ(prog.Doc.ObjCount, 3);
  EXPECT_EQ(prog.DocFileName, "/x/old.d2d");
  EXPECT_EQ(refreshes + aborts, 0);

  desk.ExpectMessage(prog.Msgs[32], mbYes | mbNo, mbYes);
  EXPECT_TRUE(NewDocumentCommand(prog));
  EXPECT_EQ(prog.Doc.ObjCount, 0);
  EXPECT_EQ(prog.Doc.MeasureCount, 0);
  EXPECT_EQ(prog.Doc.View.Zoom, 1.0);
  EXPECT_FALSE(prog.Modified);
  EXPECT_EQ(prog.DocFileName, NoNamePath());
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(aborts, 1);

  // No objects: no question, and the dynamic expressions go too.
  prog.Doc.DynExprCount = 2;
  prog.Doc.View.OrgX = 30;
  EXPECT_TRUE(NewDocumentCommand(prog));
  EXPECT_EQ(prog.Doc.DynExprCount, 0);
  EXPECT_EQ(prog.Doc.View.OrgX, 0);
  EXPECT_EQ(refreshes, 2);
}

TEST_F(DocumentCommandTest, SaveOfUnnamedDocumentGoesThroughTheDialog) {
  MakeCurrentConstruction();
  prog.Modified = true;
  desk.ExpectSaveDialog("");
  EXPECT_FALSE(SaveDocumentCommand(prog));
  EXPECT_EQ(prog.DocFileName, NoNamePath());
  EXPECT_EQ(prog.Title, NoNamePath() + " - DREX-2D");
  EXPECT_TRUE(prog.Modified);
  EXPECT_FALSE(std::filesystem::exists(NoNamePath()));

  ASSERT_EQ(desk.Dialogs.size(), 1u);
  const FileDialogRequest& r = desk.Dialogs[0];
  EXPECT_EQ(r.Title, "Збереження об'єктів");
  EXPECT_EQ(r.Filter, "Об'єкти у форматі DREX-2D|*.d2d|Всі файли|*.*");
  EXPECT_EQ(r.DefaultExt, "d2d");
  EXPECT_EQ(r.FileName, NoNamePath());

  const std::string path = Path("plan.d2d");
  desk.ExpectSaveDialog(path);
  EXPECT_TRUE(RunDocumentCommand(prog, TagSave));
  EXPECT_EQ(prog.DocFileName, path);
  EXPECT_FALSE(prog.Modified);
  EXPECT_EQ(ReadFile(path), CurrentBytes());

  // Named: Save writes at once; Save as asks, preset with the current name.
  prog.Doc[2].X1 = 77;
  EXPECT_TRUE(SaveDocumentCommand(prog));
  EXPECT_EQ(ReadFile(path), CurrentBytes());
  const std::string other = Path("other.d2d");
  desk.ExpectSaveDialog(other);
  EXPECT_TRUE(RunDocumentCommand(prog, TagSaveAs));
  EXPECT_EQ(desk.Dialogs.back().FileName, path);
  EXPECT_EQ(prog.DocFileName, other);
  EXPECT_EQ(ReadFile(other), CurrentBytes());
}

TEST_F(DocumentCommandTest, FailedSaveKeepsTheNameAndTheModifiedFlag) {
  MakeCurrentConstruction();
  SetDocName(prog, Path("plan.d2d"));
  prog.Modified = false;
  const std::string bad = Path("missing/plan.d2d");
  desk.ExpectSaveDialog(bad);
  desk.ExpectMessage(SaveErrorMessage(bad), mbOK, mbOK);
  EXPECT_FALSE(SaveDocumentAsCommand(prog));
  EXPECT_EQ(prog.DocFileName, Path("plan.d2d"));
  EXPECT_TRUE(prog.Modified);
}

TEST_F(DocumentCommandTest, OpenLoadsNamesAndRefreshes) {
  const std::string path = Fixture(SampleDocument(), "sample.d2d");
  desk.ExpectOpenDialog(path);
  EXPECT_TRUE(RunDocumentCommand(prog, TagOpen));
  EXPECT_EQ(desk.Dialogs.back().Title, "Завантаження об'єктів");
  EXPECT_EQ(desk.Dialogs.back().Filter, DocumentFilter);
  EXPECT_EQ(prog.Doc.ObjCount, 9);
  EXPECT_EQ(prog.DocFileName, path);
  EXPECT_EQ(prog.Title, path + " - DREX-2D");
  EXPECT_EQ(prog.RecentFiles, std::vector<std::string>{path});
  EXPECT_EQ(aborts, 1);
  EXPECT_EQ(refreshes, 1);

  // Cancelled dialog, then a broken file: nothing changes, nothing is refreshed.
  desk.ExpectOpenDialog("");
  EXPECT_FALSE(OpenDocumentCommand(prog));
  DocSpec broken = SampleDocument();
  broken.Objects[2].Kind = 20;
  const std::string bad = Fixture(broken, "broken.d2d");
  desk.ExpectOpenDialog(bad);
  desk.ExpectMessage(InvalidMessage(bad), mbOK, mbOK);
  EXPECT_FALSE(OpenDocumentCommand(prog));
  EXPECT_EQ(prog.DocFileName, path);
  EXPECT_EQ(prog.Doc.ObjCount, 9);
  EXPECT_EQ(refreshes, 1);
}

TEST_F(DocumentCommandTest, OpenAsksAboutUnsavedChangesFirst) {
  const std::string path = Fixture(SampleDocument(), "sample.d2d");
  MakeCurrentConstruction();
  prog.Modified = true;

  // Cancel keeps the document; no dialog follows.
  desk.ExpectMessage(AskSave(), YesNoCancel, mbCancel);
  EXPECT_FALSE(OpenDocumentCommand(prog));
  EXPECT_EQ(prog.Doc.ObjCount, 3);

  // Yes on an unnamed document asks for a name; cancelling that keeps the document too.
  desk.ExpectMessage(AskSave(), YesNoCancel, mbYes);
  desk.ExpectSaveDialog("");
  EXPECT_FALSE(OpenDocumentCommand(prog));
  EXPECT_EQ(prog.Doc.ObjCount, 3);
  EXPECT_TRUE(prog.Modified);

  // Yes with a name given saves, then opens.
  const std::string saved = Path("mine.d2d");
  const std::vector<uint8_t> mine = CurrentBytes();
  desk.ExpectMessage(AskSave(), YesNoCancel, mbYes);
  desk.ExpectSaveDialog(saved);
  desk.ExpectOpenDialog(path);
  EXPECT_TRUE(OpenDocumentCommand(prog));
  EXPECT_EQ(ReadFile(saved), mine);
  EXPECT_EQ(prog.Doc.ObjCount, 9);

  // No discards the changes.
  prog.Doc.ObjCount = 4;
  prog.Modified = true;
  desk.ExpectMessage(AskSave(), YesNoCancel, mbNo);
  desk.ExpectOpenDialog(saved);
  EXPECT_TRUE(OpenDocumentCommand(prog));
  EXPECT_EQ(prog.Doc.ObjCount, 3);
  EXPECT_FALSE(prog.Modified);
}

TEST_F(DocumentCommandTest, RecentItemsLoadAndDropFilesThatNoLongerLoad) {
  const std::string a = Fixture(SampleDocument(), "a.d2d");
  const std::string b = Path("gone.d2d");
  prog.RecentFiles = {b, a};
  EXPECT_TRUE(RunDocumentCommand(prog, TagRecentBase + 2));
  EXPECT_EQ(prog.DocFileName, a);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{a, b}));
  EXPECT_EQ(refreshes, 1);

  desk.ExpectMessage(ReadErrorMessage(b), mbOK, mbOK);
  EXPECT_FALSE(OpenRecentCommand(prog, 2));
  EXPECT_EQ(prog.RecentFiles, std::vector<std::string>{a});
  EXPECT_EQ(prog.DocFileName, a);

  // Items past the list do nothing; tags past 1005 are no document command.
  EXPECT_TRUE(RunDocumentCommand(prog, TagRecentBase + 5));
  EXPECT_FALSE(RunDocumentCommand(prog, TagRecentBase + 6));
  EXPECT_FALSE(RunDocumentCommand(prog, 0));

  // Unsaved changes are asked about first; Cancel leaves even the list alone.
  prog.Modified = true;
  desk.ExpectMessage(AskSave(), YesNoCancel, mbCancel);
  EXPECT_FALSE(OpenRecentCommand(prog, 1));
  EXPECT_EQ(prog.RecentFiles, std::vector<std::string>{a});
  EXPECT_TRUE(prog.Modified);
}

TEST_F(DocumentCommandTest, CloseQuery) {
  EXPECT_EQ(CloseQuery(prog), CloseDecision::Close); // unmodified: no question

  MakeCurrentConstruction();
  prog.Modified = true;
  desk.ExpectMessage(AskSave(), YesNoCancel, mbCancel);
  EXPECT_EQ(CloseQuery(prog), CloseDecision::Stay);
  desk.ExpectMessage(AskSave(), YesNoCancel, mbNo);
  EXPECT_EQ(CloseQuery(prog), CloseDecision::Close);
  EXPECT_TRUE(prog.Modified);

  // Yes, then the save dialog cancelled: the work is not thrown away.
  desk.ExpectMessage(AskSave(), YesNoCancel, mbYes);
  desk.ExpectSaveDialog("");
  EXPECT_EQ(CloseQuery(prog), CloseDecision::Stay);

  // Named and saving fails: stay as well.
  SetDocName(prog, Path("missing/plan.d2d"));
  desk.ExpectMessage(AskSave(), YesNoCancel, mbYes);
  desk.ExpectMessage(SaveErrorMessage(Path("missing/plan.d2d")), mbOK, mbOK);
  EXPECT_EQ(CloseQuery(prog), CloseDecision::Stay);

  // Named and saved directly.
  SetDocName(prog, Path("plan.d2d"));
  desk.ExpectMessage(AskSave(), YesNoCancel, mbYes);
  EXPECT_EQ(CloseQuery(prog), CloseDecision::Close);
  EXPECT_EQ(ReadFile(Path("plan.d2d")), CurrentBytes());
  EXPECT_FALSE(prog.Modified);
}

} // namespace
} // namespace drex
