#include "base/CXmlReaderWriter.h"
#include "base/TextConvert.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

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

    WriteFile(dir.path() / "empty.xml", "");
    for (const char* name : {"nothing.xml", "empty.xml"}) {
        const std::wstring nothing = RaisedText([&] { xml.Load(dir.file(name)); });
        EXPECT_NE(nothing.find(dir.file(name) + L"\" holds no XML document"), std::wstring::npos) << nothing;
    }
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

namespace {

namespace fs = std::filesystem;

std::unique_ptr<CXmlReaderWriter> SmallDocument() {
    auto xml = std::make_unique<CXmlReaderWriter>();
    xml->Create(L"root");
    xml->AppendTextElement(L"/root", L"new", L"content");
    return xml;
}

// The names in a folder: a failed save leaves no temporary file beside its target.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A listening socket at a path, for as long as the test needs it.
int MakeSocket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return fd;
}

} // namespace

TEST(XmlReaderWriter, SavingReplacesOnlyRegularFilesTheUserMayChange) {
    TempDir dir;
    const fs::path& d = dir.path();
    const std::unique_ptr<CXmlReaderWriter> xml = SmallDocument();
    ::mkfifo((d / "fifo").c_str(), 0644);
    fs::create_directory(d / "folder");
    const int socket = MakeSocket(d / "socket");
    WriteFile(d / "readonly.cfg", "keep");
    ::chmod((d / "readonly.cfg").c_str(), 0444);
    // A device node of its own (the null device's numbers), never the system's.
    const bool device = ::mknod((d / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink("fifo", d / "link-to-fifo");
    fs::create_symlink("loop-b", d / "loop-a");
    fs::create_symlink("loop-a", d / "loop-b");

    struct Refusal {
        const char* name;
        std::wstring reason;
    };
    std::vector<Refusal> refusals = {
        {"fifo", L"it is a named pipe (FIFO), not a regular file."},
        {"link-to-fifo", L"it is a named pipe (FIFO), not a regular file."},
        {"folder", L"it is a folder, not a regular file."},
        {"socket", L"it is a socket, not a regular file."},
        {"readonly.cfg", L"it is read-only."},
        {"loop-a", L"Too many levels of symbolic links"},
    };
    if (device) {
        refusals.push_back({"device", L"it is a device, not a regular file."});
    }
    const std::vector<std::string> before = Names(d);
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const std::wstring path = dir.file(refusal.name);
        const std::wstring expected = L"Cannot write the file \"" + path + L"\": " + refusal.reason;
        EXPECT_EQ(RaisedText([&] { CXmlReaderWriter::CheckSaveTarget(path); }), expected);
        EXPECT_EQ(RaisedText([&] { xml->Save(path); }), expected);
    }
    // Nothing was replaced, opened for writing or left behind.
    EXPECT_EQ(Names(d), before);
    EXPECT_TRUE(fs::is_fifo(d / "fifo"));
    EXPECT_TRUE(fs::is_socket(d / "socket"));
    EXPECT_EQ(ReadFile(d / "readonly.cfg"), "keep");
    EXPECT_TRUE(!device || fs::is_character_file(d / "device"));
    ::close(socket);
}

TEST(XmlReaderWriter, SavingThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
    TempDir dir;
    const fs::path& d = dir.path();
    fs::create_directory(d / "real");
    WriteFile(d / "real" / "plant.cfg", "old");
    ::chmod((d / "real" / "plant.cfg").c_str(), 0640);
    fs::create_symlink("real/plant.cfg", d / "first");
    fs::create_symlink(d / "first", d / "second"); // a chain, absolute then relative
    fs::create_symlink("real/new.cfg", d / "dangling");

    SmallDocument()->Save(dir.file("second"));
    EXPECT_TRUE(fs::is_symlink(d / "second"));
    EXPECT_TRUE(fs::is_symlink(d / "first"));
    EXPECT_NE(ReadFile(d / "real" / "plant.cfg").find("<new>content</new>"), std::string::npos);
    EXPECT_EQ(fs::status(d / "real" / "plant.cfg").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // The temporary file was made in the folder of the file, not the link's.
    EXPECT_EQ(Names(d / "real"), std::vector<std::string>{"plant.cfg"});

    // A link to a file not yet there makes that file.
    SmallDocument()->Save(dir.file("dangling"));
    EXPECT_TRUE(fs::is_symlink(d / "dangling"));
    EXPECT_TRUE(fs::is_regular_file(d / "real" / "new.cfg"));
}

TEST(XmlReaderWriter, LoadingReadsOnlyRegularFilesOfReasonableSize) {
    TempDir dir;
    const fs::path& d = dir.path();
    ::mkfifo((d / "fifo").c_str(), 0644);
    fs::create_directory(d / "folder");
    WriteFile(d / "huge.cfg", "");
    fs::resize_file(d / "huge.cfg", std::uintmax_t{17} * 1024 * 1024); // sparse: quick to make
    WriteFile(d / "good.xml", "<root><a>first</a></root>");
    fs::create_symlink("good.xml", d / "link.xml");

    struct Refusal {
        std::wstring path;
        std::wstring reason;
    };
    const std::vector<Refusal> refusals = {
        {dir.file("fifo"), L"it is a named pipe (FIFO), not a regular file."},
        {dir.file("folder"), L"it is a folder, not a regular file."},
        {L"/dev/zero", L"it is a device, not a regular file."},
        {dir.file("huge.cfg"), L"it is larger than 16 MiB, which no configuration or language file is."},
    };
    CXmlReaderWriter xml;
    xml.Load(dir.file("link.xml"));
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(ToUtf8(refusal.path));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(RaisedText([&] { xml.Load(refusal.path); }),
                  L"Cannot open the file \"" + refusal.path + L"\": " + refusal.reason);
        // At once: a FIFO without a writer would otherwise wait for ever.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
        EXPECT_EQ(xml.GetText(L"/root/a"), L"first");
    }
}

TEST(XmlReaderWriter, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram) {
    TempDir dir;
    CXmlReaderWriter xml;
    xml.Create(L"root");
    for (int i = 0; i < 200; ++i) {
        xml.AppendTextElement(L"/root", L"value", L"0123456789");
    }
    const std::wstring path = dir.file("limited.cfg");
    // In a child of its own, with the signal's default action (which ends
    // the process) as a program has it: only the save may keep it alive.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int status = 2;
        try {
            xml.Save(path);
        } catch (const CException& error) {
            status = GetExceptionMessage(error).find(L"File too large") != std::wstring::npos ? 0 : 3;
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(Names(dir.path()).empty()) << "a temporary file was left behind";
}
