#include "rack/CXmlReaderWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using k52test::RaisedText;
using k52test::ReadFile;
using k52test::TempDir;
using k52test::WriteFile;

TEST(XmlReaderWriter, CreateAndSaveWriteTheDeclarationAndOneEmptyElement) {
    TempDir dir;
    CXmlReaderWriter xml;
    xml.Create(L"root");
    xml.Save(dir.file("empty.xml"));
    EXPECT_EQ(ReadFile(dir.path() / "empty.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?><root/>");
}

TEST(XmlReaderWriter, AppendsUnderSelectedNodesAndReadsTextsBack) {
    TempDir dir;
    CXmlReaderWriter xml;
    xml.Create(L"root");
    xml.AppendTextElement(L"/root", L"application", L"K52CFG");
    xml.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"0");
    xml.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"1");
    xml.AppendTextElement(L"/root/slot[@no='1']", L"type", L"JK7W");
    xml.AppendTextElementWithAttribute(L"/root/slot[@no='1']", L"parameter", L"-1000", L"item", L"010a");
    xml.AppendTextElement(L"/root", L"unit", L"°C <&>");
    xml.Save(dir.file("a.cfg"));
    EXPECT_EQ(ReadFile(dir.path() / "a.cfg"),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?><root><application>K52CFG</application><slot no=\"0\"/>"
              "<slot no=\"1\"><type>JK7W</type><parameter item=\"010a\">-1000</parameter></slot>"
              "<unit>\xC2\xB0" "C &lt;&amp;&gt;</unit></root>");

    CXmlReaderWriter back;
    back.Load(dir.file("a.cfg"));
    EXPECT_EQ(back.GetText(L"/root/application"), L"K52CFG");
    EXPECT_EQ(back.GetText(L"/root/slot[@no='1']/type"), L"JK7W");
    EXPECT_EQ(back.GetText(L"/root/slot[@no='1']/parameter[@item='010a']"), L"-1000");
    EXPECT_EQ(back.GetText(L"/root/slot[@no='0']"), L"");
    EXPECT_EQ(back.GetText(L"/root/unit"), L"°C <&>");
    EXPECT_EQ(back.GetText(L"/root/slot[@no='1']/@no"), L"1");
}

TEST(XmlReaderWriter, MissingNodesRaiseAndNeverGiveEmptyText) {
    CXmlReaderWriter xml;
    EXPECT_NE(RaisedText([&] { xml.GetText(L"/root"); }).find(L"no document"), std::wstring::npos);
    xml.Create(L"root");
    std::wstring text = RaisedText([&] { xml.GetText(L"/root/slot[@no='3']/type"); });
    EXPECT_NE(text.find(L"/root/slot[@no='3']/type"), std::wstring::npos) << text;
    RaisedText([&] { xml.AppendTextElement(L"/root/missing", L"x", L"y"); });
    RaisedText([&] { xml.GetText(L"/root/[broken"); });
}

TEST(XmlReaderWriter, FailedLoadKeepsThePreviousDocument) {
    TempDir dir;
    WriteFile(dir.path() / "good.xml", "<root><a>first</a></root>");
    WriteFile(dir.path() / "bad.xml", "<root>\n<a>second</b>\n</root>");
    WriteFile(dir.path() / "nothing.xml", "<?xml version='1.0'?>\n");
    CXmlReaderWriter xml;
    xml.Load(dir.file("good.xml"));

    std::wstring bad = RaisedText([&] { xml.Load(dir.file("bad.xml")); });
    EXPECT_NE(bad.find(L"line 2"), std::wstring::npos) << bad;
    EXPECT_NE(bad.find(dir.file("bad.xml")), std::wstring::npos) << bad;
    EXPECT_EQ(xml.GetText(L"/root/a"), L"first");

    EXPECT_EQ(RaisedText([&] { xml.Load(dir.file("nothing.xml")); }), L"CXmlReaderWriter::Load failed");
    RaisedText([&] { xml.Load(dir.file("missing.xml")); });
    EXPECT_EQ(xml.GetText(L"/root/a"), L"first");
}

TEST(XmlReaderWriter, FailedSaveLeavesTheExistingFileWhole) {
    TempDir dir;
    const std::string original = "<root><keep>me</keep></root>";
    WriteFile(dir.path() / "a.cfg", original);
    CXmlReaderWriter xml;
    xml.Create(L"root");
    xml.AppendTextElement(L"/root", L"new", L"content");

    // A folder that cannot be written to refuses the save before the file is touched.
    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0500);
        RaisedText([&] { xml.Save(dir.file("a.cfg")); });
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(ReadFile(dir.path() / "a.cfg"), original);
    }
    // A full disk fails the write of the temporary file; the target stays whole.
    if (std::filesystem::exists("/dev/full")) {
        std::wstring text = RaisedText([&] { xml.Save(L"/dev/full/a.cfg"); });
        EXPECT_FALSE(text.empty());
    }
    std::wstring missingFolder = RaisedText([&] { xml.Save(dir.file("no/such/folder/a.cfg")); });
    EXPECT_NE(missingFolder.find(L"No such file or directory"), std::wstring::npos);
    EXPECT_EQ(ReadFile(dir.path() / "a.cfg"), original);

    // No temporary file is left behind by a failure.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);

    xml.Save(dir.file("a.cfg"));
    EXPECT_NE(ReadFile(dir.path() / "a.cfg").find("<new>content</new>"), std::string::npos);
}

TEST(XmlReaderWriter, TextsOfBlanksSurviveARoundTrip) {
    // A value made only of blanks (a server address of spaces) is data, while
    // the indentation between the elements of a language file is not.
    TempDir dir;
    CXmlReaderWriter xml;
    xml.Create(L"root");
    xml.AppendTextElement(L"/root", L"url", L"   ");
    xml.Save(dir.file("blanks.cfg"));
    WriteFile(dir.path() / "indented.xml", "<root>\n  <node>\n    <text>a</text>\n  </node>\n</root>");

    CXmlReaderWriter back;
    back.Load(dir.file("blanks.cfg"));
    EXPECT_EQ(back.GetText(L"/root/url"), L"   ");
    back.Load(dir.file("indented.xml"));
    EXPECT_EQ(back.GetText(L"/root/node"), L"a");
    EXPECT_EQ(back.GetText(L"/root/node/text"), L"a");
}
