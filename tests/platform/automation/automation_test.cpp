#include "automation.h"
#include "codepage.h"
#include "inprocess.h"
#include "rtf_reader.h"
#include "temp_dir.h"

#include <gtest/gtest.h>


using namespace automation;
using K = Variant::Kind;

class ServersTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetServers(); }
  void TearDown() override { ResetServers(); }
};

TEST(VariantAddTest, TextJoinsAndNumbersAdd) {
  EXPECT_EQ(VarAdd(Variant::FromText(u"ab"), Variant::FromText(u"cd")).text, u"abcd");
  Variant fromEmpty = VarAdd(Variant{}, Variant::FromText(u"x"));
  EXPECT_EQ(fromEmpty.kind, K::Text);
  EXPECT_EQ(fromEmpty.text, u"x");
  Variant sum = VarAdd(Variant::FromDouble(1.5), Variant::FromText(u" 2 "));
  EXPECT_EQ(sum.kind, K::Double);
  EXPECT_DOUBLE_EQ(sum.number, 3.5);
  Variant date = VarAdd(Variant::Of(K::Date, 40000), Variant::FromText(u"1"));
  EXPECT_EQ(date.kind, K::Date);
  EXPECT_DOUBLE_EQ(date.number, 40001);
  EXPECT_DOUBLE_EQ(VarAdd(Variant::FromBool(true), Variant::FromText(u"3")).number, 2);
}

TEST(VariantAddTest, WhatCannotBeAddedFails) {
  EXPECT_THROW(VarAdd(Variant::FromDouble(1), Variant::FromText(u"")), EOleError);
  EXPECT_THROW(VarAdd(Variant::FromDouble(1), Variant::FromText(u"1x")), EOleError);
  EXPECT_THROW(VarAdd(Variant::FromInt(1), Variant::FromText(u"\u0d9a")), EOleError);
  EXPECT_THROW(VarAdd(Variant::Of(K::Error, 2042), Variant::FromText(u"a")), EOleError);
}

TEST_F(ServersTest, ConnectionPrefersTheRunningInstanceAndKeepsIt) {
  TWordApplication word;
  EXPECT_THROW(word.Connect(), EOleError);  // nothing runs, nothing can start
  EXPECT_FALSE(word.Connected());
  EXPECT_THROW(word.Selection(), EOleError);

  auto running = std::make_shared<inprocess::Word>();
  int started = 0;
  SetStarter<WordApplication>([&] { ++started; return std::make_shared<inprocess::Word>(); });
  RegisterRunning<WordApplication>(running);
  word.Connect();
  word.Selection()->TypeText(u"a");
  EXPECT_EQ(running->ActiveDocument()->Body().Text(), u"a");
  EXPECT_EQ(started, 0);

  // The kept connection is reused even after the instance was revoked; once
  // the application has quit, every call fails.
  RevokeRunning(Server::Word);
  word.Connect();
  running->faults->Quit();
  EXPECT_THROW(word.Selection(), EOleError);
  word.Disconnect();
  word.Connect();
  EXPECT_EQ(started, 1);
}

TEST_F(ServersTest, WordDocumentIsAlwaysANewDocument) {
  auto userDocument = std::make_shared<inprocess::Document>();
  RegisterRunning<WordDocument>(userDocument);
  TWordDocument doc;
  doc.Connect();
  doc.Content()->InsertAfter(u"x");
  EXPECT_EQ(userDocument->Body().Text(), u"");
  doc.Disconnect();
  SetStarter<WordDocument>(nullptr);
  EXPECT_THROW(doc.Connect(), EOleError);
}

TEST(InProcessWordTest, RangesFollowEdits) {
  inprocess::Word word;
  auto doc = word.ActiveDocument();
  doc->Edit(0, 0, u"hello world");
  doc->Select(6, 11);
  auto sel = word.Selection();
  auto range = sel->Range();
  auto tail = doc->Content();
  sel->TypeText(u"there!");  // replaces the selected "world"
  EXPECT_EQ(doc->Body().Text(), u"hello there!");
  EXPECT_EQ(range->Start(), 6);  // the replaced text collapses to its start
  EXPECT_EQ(range->End(), 6);
  EXPECT_EQ(tail->End(), 12);
  EXPECT_EQ(doc->SelectionSpan().start, 12);
  word.CloseDocument();
  EXPECT_THROW(word.Selection(), EOleError);
}

TEST(RtfTest, SavedDocumentReadsBack) {
  testutil::TempDir dir;
  const auto file = dir.path / "out.doc";
  auto document = std::make_shared<inprocess::Document>();
  auto& doc = *document;
  const std::u16string text = u"\u0d85\u0dba {x}\\y\r\nline 2\u00e9\uffff";
  doc.Content()->InsertAfter(text);
  doc.Range()->GetFont()->SetName(u"Iskoola Pota");
  doc.Range()->GetFont()->SetSize(10.5f);
  doc.SaveAs(codepage::Utf8ToUtf16(file.string()));
  const std::string rtf = testutil::ReadBytes(file);
  for (unsigned char c : rtf) EXPECT_LT(c, 0x80);
  EXPECT_NE(rtf.find("\\u-1?"), std::string::npos);  // U+FFFF as signed 16-bit
  RtfRead read = ReadRtf(rtf);
  EXPECT_EQ(read.text, text);
  ASSERT_EQ(read.faces.size(), text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    EXPECT_EQ(read.faces[i], u"Iskoola Pota");
    EXPECT_EQ(read.halfPoints[i], 21);
    EXPECT_EQ(read.complexFaces[i], u"Iskoola Pota");
    EXPECT_EQ(read.complexHalfPoints[i], 21);
  }
}

TEST(RtfTest, FontRunsAndFaceNamesAreEscaped) {
  inprocess::StyledText t;
  t.Replace(0, 0, u"abcd");
  t.SetFaceName(0, 2, u"A{b}\u0d85");
  t.SetSize(2, 4, 30);
  RtfRead read = ReadRtf(inprocess::ToRtf(t));
  EXPECT_EQ(read.text, u"abcd");
  EXPECT_EQ(read.faces[1], u"A{b}\u0d85");
  EXPECT_EQ(read.faces[2], inprocess::kDefaultFace);
  EXPECT_EQ(read.halfPoints[0], 24);
  EXPECT_EQ(read.halfPoints[3], 60);
}

// A map's face name may hold what the font table cannot: ";" and line breaks
// are left out of the entry, so the table and the text after it stay whole.
TEST(RtfTest, FaceNamesWithSemicolonsAndLineBreaksKeepTheFontTableWhole) {
  inprocess::StyledText t;
  t.Replace(0, 0, u"ab");
  t.SetFaceName(0, 1, u"Sin;hala\r\nX");
  t.SetFaceName(1, 2, u"Other\tFace");
  RtfRead read = ReadRtf(inprocess::ToRtf(t));
  EXPECT_EQ(read.text, u"ab");
  EXPECT_EQ(read.fontTable.size(), 2u);
  EXPECT_EQ(read.faces[0], u"SinhalaX");
  EXPECT_EQ(read.faces[1], u"OtherFace");
}
