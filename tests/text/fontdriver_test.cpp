#include <plotvane/chart.h>

#include "text/fontdriver_p.h"
#include "text/libttfdriver_p.h"
#include "text/textlock_p.h"

#include "fontfixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace plotvane;
using namespace plotvane_test;

namespace {

// A face from the process-wide driver, released at the end of the scope.
struct OpenedFace {
    FontFace* face;
    OpenedFace(const char* name, int index = 0, double height = 10, double width = 10)
        : face(MainFontDriver::getFace(name, index, height, width, 0)) {}
    ~OpenedFace() {
        TextLock lock;
        if (face) face->release();
    }
    std::string file() const { return face ? fileName(face->getPathName()) : "(none)"; }
    FontFace* operator->() const { return face; }
};

std::string report(FontDriver& d, const char* name, int index = 0) {
    char buffer[4096];
    d.testFont(buffer, buffer + sizeof buffer, name, index, 10, 10, 0);
    return buffer;
}

}  // namespace

TEST(FontResolution, StandardNamesFindMetricCompatibleFaces) {
    EXPECT_EQ(OpenedFace("arial.ttf").file(), "LiberationSans-Regular.ttf");
    EXPECT_EQ(OpenedFace("arialbd.ttf").file(), "LiberationSans-Bold.ttf");
    EXPECT_EQ(OpenedFace("ARIALBI.TTF").file(), "LiberationSans-BoldItalic.ttf");
    EXPECT_EQ(OpenedFace("Arial").file(), "LiberationSans-Regular.ttf");
    EXPECT_EQ(OpenedFace("Times New Roman").file(), "LiberationSerif-Regular.ttf");
    EXPECT_EQ(OpenedFace("timesi.ttf").file(), "LiberationSerif-Italic.ttf");
    EXPECT_EQ(OpenedFace("Courier New").file(), "LiberationMono-Regular.ttf");
    EXPECT_EQ(OpenedFace("courbd.ttf").file(), "LiberationMono-Bold.ttf");

    // Style words on a family pick the real styled face, not synthetic styling.
    OpenedFace boldArial("Arial bold");
    EXPECT_EQ(boldArial.file(), "LiberationSans-Bold.ttf");
    EXPECT_TRUE(boldArial->isBold());
    EXPECT_FALSE(boldArial->isArtificialBold());

    // Unknown and empty names fall back to "arial.ttf", not to whatever the system's font
    // configuration offers as its nearest match.
    const std::string arial = OpenedFace("arial.ttf").file();
    EXPECT_EQ(OpenedFace("NoSuchFont").file(), arial);
    EXPECT_EQ(OpenedFace("nosuch.ttf").file(), arial);
    EXPECT_EQ(OpenedFace("").file(), arial);
    EXPECT_EQ(OpenedFace(nullptr).file(), arial);
}

TEST(FontResolution, ACustomSearchPathConfinesTheLookUp) {
    // Only the program's folders are searched, from the next face on; the system's fonts come
    // back with "%PATH%" or an empty path.
    const std::string arialPath = OpenedFace("arial.ttf")->getPathName();
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / "plotvane_confined_fonts";
    fs::create_directories(dir);
    fs::copy_file(arialPath, dir / "own.ttf", fs::copy_options::overwrite_existing);
    const std::string empty = (fs::path(::testing::TempDir()) / "plotvane_no_fonts").string();
    Chart::setFontSearchPath((empty + ";" + dir.string() + ":" + empty).c_str());
    EXPECT_EQ(OpenedFace("own.ttf").file(), "own.ttf");
    EXPECT_EQ(OpenedFace("arial.ttf").file(), "(none)");
    EXPECT_EQ(OpenedFace("Times New Roman").file(), "(none)");
    Chart::setFontSearchPath((dir.string() + ";%PATH%").c_str());
    EXPECT_EQ(OpenedFace("own.ttf").file(), "own.ttf");
    EXPECT_EQ(OpenedFace("arial.ttf").file(), fileName(arialPath.c_str()));
    Chart::setFontSearchPath("");
    EXPECT_EQ(OpenedFace("own.ttf").file(), "LiberationSans-Regular.ttf") << "falls back to arial.ttf";
    fs::remove_all(dir);
}

TEST(FontResolution, DefaultFontsAreFoundWithoutTheFontConfiguration) {
    FontPathSources sources;
    sources.systemFolders = {"/usr/share/fonts"};
    LibTTFFontDriver driver(buildSearchPath(sources));
    for (const char* name : {"arial.ttf", "arialbd.ttf", "ariali.ttf", "arialbi.ttf", "times.ttf", "cour.ttf"}) {
        FontFace* f = driver.openFace(name, 0, 10, 10, 0);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(fileName(f->getPathName()).substr(0, 10), "Liberation") << name;
    }
    EXPECT_FALSE(driver.fontConfig().loaded());
    EXPECT_EQ(fileName(driver.openFace("Verdana", 0, 10, 10, 0)->getPathName()), "DejaVuSans.ttf");
    EXPECT_TRUE(driver.fontConfig().loaded());
}

TEST(FontResolution, FileNamesAreFoundInSystemSubfoldersWithStyleWords) {
    OpenedFace plain("DejaVuSans.ttf");
    EXPECT_EQ(std::string(plain->getPathName()), kDejaVuSans);
    EXPECT_FALSE(plain->isBold());

    OpenedFace bold("dejavusans.ttf bold");
    EXPECT_EQ(bold.file(), "DejaVuSans.ttf");
    EXPECT_TRUE(bold->isArtificialBold());
    EXPECT_TRUE(bold->isBold());

    OpenedFace both("DejaVuSans.ttf italic bold");
    EXPECT_TRUE(both->isArtificialItalic());
    EXPECT_TRUE(both->isArtificialBold());
    EXPECT_EQ(std::string(both->getFamilyName()), "DejaVu Sans");
    EXPECT_EQ(std::string(both->getPSName()), "DejaVuSans");

    // The index written in the font name replaces the one passed.
    OpenedFace indexed("DejaVuSans.ttf|0", 5);
    EXPECT_EQ(indexed.file(), "DejaVuSans.ttf");
    EXPECT_EQ(indexed->getFontIndex(), 0);
}

TEST(FontResolution, FontListsAskLaterFacesForMissingCharacters) {
    OpenedFace list("LiberationSans-Regular.ttf; DejaVuSans.ttf");
    ASSERT_NE(list.face, nullptr);
    OpenedFace first("LiberationSans-Regular.ttf");
    EXPECT_EQ(list->ascender, first->ascender);
    EXPECT_EQ(list->lineHeight, first->lineHeight);

    TextLock lock;
    const int kKing = 0x2654;  // in DejaVu Sans, not in Liberation Sans
    ASSERT_EQ(first->getGlyph(kKing, 1), nullptr);
    auto* fromList = static_cast<LibTTFFontGlyph*>(list->getGlyph(kKing, 1));
    ASSERT_NE(fromList, nullptr);
    EXPECT_EQ(fileName(fromList->face()->getPathName()), "DejaVuSans.ttf");
    auto* latin = static_cast<LibTTFFontGlyph*>(list->getGlyph('A', 1));
    EXPECT_EQ(fileName(latin->face()->getPathName()), "LiberationSans-Regular.ttf");
    EXPECT_EQ(list->getGlyph(0x10fffd, 1), nullptr);

    // An empty name in a list stands for Arial.
    OpenedFace emptyFirst(";DejaVuSans.ttf");
    EXPECT_EQ(emptyFirst.file(), "LiberationSans-Regular.ttf");
}

TEST(FontResolution, SearchOrderOfStandardAndStyledNames) {
    ScratchFolder folder;
    auto driver = driverFor(folder.path());
    std::string lines = report(*driver, "arialbd.ttf");
    size_t styled = lines.find("Searching for " + folder.path() + "Arial Bold.ttf - No such file");
    size_t family = lines.find("Searching for " + folder.path() + "Arial - ");
    size_t file = lines.find("Searching for " + folder.path() + "arialbd.ttf - ");
    size_t fallback = lines.find("Successfully opened /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf");
    EXPECT_LT(styled, family) << lines;
    EXPECT_LT(family, file) << lines;
    EXPECT_LT(file, fallback) << lines;
    EXPECT_NE(fallback, std::string::npos) << lines;

    lines = report(*driver, "Verdana bold");
    EXPECT_EQ(lines.find("Searching for " + folder.path() + "Verdana Bold.ttf"), 0u) << lines;

    // A collection index that the file lacks is reported as FreeType's refusal.
    std::string path = folder.put("one.ttf", readFile(kDejaVuSans));
    EXPECT_NE(report(*driver, "one.ttf", 3).find("Error loading " + path + " [FT err code = "), std::string::npos);
    EXPECT_EQ(report(*driver, "one.ttf|0", 3).find("Successfully opened " + path), 0u);

    // The buffer is never overrun and always terminated.
    char small[24];
    std::fill(small, small + sizeof small, 'x');
    EXPECT_TRUE(driver->testFont(small, small + 20, "arialbd.ttf", 0, 10, 10, 0));
    EXPECT_EQ(std::string(small).size(), 19u);
    EXPECT_EQ(small[20], 'x');
}

TEST(FontResolution, FontPathFolderAndNameVariants) {
    ScratchFolder folder;
    std::string path = folder.put("myfont.ttf", readFile(kDejaVuSans));
    folder.put("other Bold.ttf", readFile(kDejaVuSansBold));
    auto driver = driverFor(folder.path());

    FontFace* byName = driver->openFace("myfont.ttf", 0, 10, 10, 0);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(std::string(byName->getPathName()), path);

    FontFace* withoutExtension = driver->openFace("  myfont bold", 0, 10, 10, 0);
    EXPECT_EQ(withoutExtension, driver->openFace("myfont.ttf bold", 0, 10, 10, 0));
    EXPECT_EQ(std::string(withoutExtension->getPathName()), path);
    EXPECT_TRUE(withoutExtension->isArtificialBold());

    // A file named with its style words is a real styled face; case does not matter.
    FontFace* styled = driver->openFace("other bold", 0, 10, 10, 0);
    EXPECT_EQ(fileName(styled->getPathName()), "other Bold.ttf");
    EXPECT_FALSE(styled->isArtificialBold());
}

TEST(FontResolution, FailedSearchIsRememberedForTenSeconds) {
    ScratchFolder folder;
    auto driver = driverFor(folder.path());
    fakeNow = 1000;
    EXPECT_EQ(driver->cachedOpenFace("late.ttf", 0, fakeNow), nullptr);
    folder.put("late.ttf", readFile(kDejaVuSans));
    EXPECT_EQ(driver->cachedOpenFace("LATE.TTF", 0, fakeNow + 9), nullptr);
    EXPECT_EQ(driver->cachedOpenFace("late.ttf", 0, fakeNow - 9), nullptr);
    LibTTFFontFace* found = driver->cachedOpenFace("late.ttf", 0, fakeNow + 10);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(driver->cachedOpenFace("Late.ttf", 0, fakeNow + 11), found);

    // A face that fell back keeps falling back only while the failures behind it are remembered.
    std::string path = folder.path() + "later.ttf";
    EXPECT_NE(std::string(driver->openFace("later.ttf", 0, 10, 10, 0)->getPathName()), path);
    folder.put("later.ttf", readFile(kDejaVuSans));
    EXPECT_NE(std::string(driver->openFace("later.ttf", 0, 10, 10, 0)->getPathName()), path);
    fakeNow += 9;
    EXPECT_NE(std::string(driver->openFace("later.ttf", 0, 10, 10, 0)->getPathName()), path);
    fakeNow += 1;
    EXPECT_EQ(std::string(driver->openFace("later.ttf", 0, 10, 10, 0)->getPathName()), path);
}

TEST(FontResolution, KnownPlacesComeBeforeReadingTheFontTree) {
    // A system font folder laid out as a distribution does, with the Arial stand-in in its package
    // folder and a real Arial in an unusual sub-folder.
    ScratchFolder root;
    // Both generations of the stand-in are installed: the newer must win, by direct hit and by index.
    std::filesystem::create_directories(root.path() + "truetype/liberation");
    std::filesystem::create_directories(root.path() + "truetype/liberation2");
    std::filesystem::create_directories(root.path() + "odd/place");
    root.put("truetype/liberation/LiberationSans-Regular.ttf", readFile(kDejaVuSansBold));
    std::string standIn = root.put("truetype/liberation2/LiberationSans-Regular.ttf", readFile(kDejaVuSans));
    std::string hidden = root.put("odd/place/Arial.ttf", readFile(kDejaVuSansBold));
    FontPathSources sources;
    sources.systemFolders = {root.path()};
    LibTTFFontDriver driver(buildSearchPath(sources));
    driver.setClock(fakeClock);

    // The stand-in is found where it is installed, without listing a folder or asking the font
    // configuration, so a file added to the tree afterwards is still seen by the first listing.
    EXPECT_EQ(std::string(driver.openFace("arial.ttf", 0, 10, 10, 0)->getPathName()), standIn);
    EXPECT_FALSE(driver.fontConfig().loaded());
    std::string later = root.put("odd/Special.ttf", readFile(kDejaVuSans));
    EXPECT_EQ(std::string(driver.openFace("special.ttf", 0, 10, 10, 0)->getPathName()), later);
    // The price: the real face in its odd place loses to the stand-in, whatever the tree holds.
    EXPECT_EQ(std::string(driver.openFace("Arial", 0, 10, 10, 0)->getPathName()), standIn);
    EXPECT_EQ(std::string(driver.openFace("arial.ttf", 0, 10, 10, 0)->getPathName()), standIn);
    EXPECT_EQ(std::string(driver.openFace("LIBERATIONSANS-REGULAR.TTF", 0, 10, 10, 0)->getPathName()), standIn);
    // A path below a search folder opens as it stands.
    EXPECT_EQ(std::string(driver.openFace("odd/place/Arial.ttf", 0, 10, 10, 0)->getPathName()), hidden);
}

TEST(FontResolution, SystemFoldersMissingAtTheFirstLookAreLeftOut) {
    ScratchFolder root;
    const std::string later = root.path() + "later/";
    FontPathSources sources;
    sources.systemFolders = {later};
    sources.moduleFonts = root.path() + "beside";
    LibTTFFontDriver driver(buildSearchPath(sources));
    driver.setClock(fakeClock);
    fakeNow = 3000;
    EXPECT_EQ(driver.cachedOpenFace("own.ttf", 0, fakeNow), nullptr);
    // The report still names every place a font could be.
    char lines[4096];
    driver.testFont(lines, lines + sizeof lines, "own.ttf", 0, 10, 10, 0);
    EXPECT_NE(std::string(lines).find("Searching for " + later + "own.ttf - No such file"), std::string::npos) << lines;

    // A folder made while the program runs is not looked for again along the same search path,
    // however long after; a new search path looks again.
    std::filesystem::create_directories(later);
    root.put("later/own.ttf", readFile(kDejaVuSans));
    EXPECT_EQ(driver.cachedOpenFace("own.ttf", 0, fakeNow + 60), nullptr);
    driver.setSearchPath(buildSearchPath(sources), false);
    LibTTFFontFace* found = driver.cachedOpenFace("own.ttf", 0, fakeNow + 60);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->path(), later + "own.ttf");
}

TEST(FontResolution, CorruptFilesAreRefusedWithoutHarm) {
    ScratchFolder folder;
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 251);
    std::string bad = folder.put("bad.ttf", garbage);
    std::string real = readFile(kDejaVuSans);
    folder.put("cut.ttf", real.substr(0, real.size() / 3));
    folder.put("empty.ttf", "");
    auto driver = driverFor(folder.path());

    EXPECT_EQ(driver->cachedOpenFace("bad.ttf", 0, fakeNow), nullptr);
    EXPECT_EQ(driver->cachedOpenFace("empty.ttf", 0, fakeNow), nullptr);
    EXPECT_NE(report(*driver, "bad.ttf").find("Error loading " + bad + " [FT err code = "), std::string::npos);

    FontFace* instead = driver->openFace("bad.ttf", 0, 10, 10, 0);
    ASSERT_NE(instead, nullptr);
    EXPECT_NE(std::string(instead->getPathName()), bad);

    // A truncated font may open; whatever its glyphs do, nothing breaks.
    if (FontFace* cut = driver->openFace("cut.ttf", 0, 12, 12, 0)) {
        for (int ch = 0; ch < 300; ++ch)
            for (int mode : {0, 1, 5}) cut->getGlyph(ch, mode);
    }
}

TEST(FontCache, FacesAndGlyphsAreMadeOncePerKey) {
    ScratchFolder folder;
    auto driver = driverFor(folder.path());
    std::string dejavu = kDejaVuSans;
    FontFace* a = driver->openFace(dejavu.c_str(), 0, 10, 10, 0);
    EXPECT_EQ(driver->openFace(dejavu.c_str(), 0, 10.01, 10, 0), a);
    FontFace* other = driver->openFace(dejavu.c_str(), 0, 10.05, 10, 0);
    EXPECT_NE(other, a);
    EXPECT_NE(driver->openFace((dejavu + " italic").c_str(), 0, 10, 10, 0), a);
    // Sizes above 4096 points stand for 100.
    EXPECT_EQ(driver->openFace(dejavu.c_str(), 0, 1e9, 1e9, 0), driver->openFace(dejavu.c_str(), 0, 100, 100, 0));

    FontGlyph* g = a->getGlyph('A', 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(a->getGlyph('A', 1), g);
    EXPECT_NE(a->getGlyph('A', 0), g);
    // At 10 points the automatic mode is monochrome: the same glyph as mode 0.
    EXPECT_EQ(a->getGlyph('A', 2), a->getGlyph('A', 0));
    EXPECT_EQ(a->getGlyph('A', 3), a->getGlyph('A', 0));
    // Gamma bits above the mode do not make another glyph.
    EXPECT_EQ(a->getGlyph('A', 1 | (150 << 6)), g);
    // Characters past the Basic Multilingual Plane do not collide with their low 16 bits.
    EXPECT_NE(a->getGlyph(0x10041, 1), g);
}

TEST(FontCache, IdleSizesAndFilesAreEvictedAfterAMinute) {
    ScratchFolder folder;
    folder.put("a.ttf", readFile(kDejaVuSans));
    folder.put("b.ttf", readFile(kDejaVuSansBold));
    auto driver = driverFor(folder.path());
    fakeNow = 5000;
    FontFace* a = driver->openFace("a.ttf", 0, 10, 10, 0);
    FontGlyph* kept = a->getGlyph('k', 1);
    kept->addRef();
    a->getGlyph('x', 1);
    a->release();
    FontFace* b = driver->openFace("b.ttf", 0, 10, 10, 0);
    b->getGlyph('y', 1);
    b->release();

    fakeNow += 61;
    driver->openFace("arial.ttf", 0, 10, 10, 0)->release();
    // a still holds a referenced glyph; b had nothing left and its file was closed.
    EXPECT_TRUE(driver->cachedOpenFace("a.ttf", 0, fakeNow)->isOpen());
    LibTTFFontFace* fileB = driver->cachedOpenFace("b.ttf", 0, fakeNow);
    // cachedOpenFace reopened b from its remembered path without searching.
    EXPECT_TRUE(fileB->isOpen());
    EXPECT_FALSE(fileB->hasSizes());

    kept->release();
    fakeNow += 61;
    driver->flushCache(fakeNow);
    EXPECT_FALSE(driver->cachedOpenFace("a.ttf", 0, fakeNow)->hasSizes());
}

TEST(FontCache, FallbackFilesAreRememberedUntilTheSearchChanges) {
    ScratchFolder folder;
    auto driver = driverFor(folder.path());
    const int beh = 0x628;
    FontFace* first = driver->openFallback(beh, 0, 10, 10, 0);
    if (!first) GTEST_SKIP() << "no installed font has Arabic";
    const std::string path = first->getPathName();
    FontFace* again = driver->openFallback(beh, 0, 10, 10, 0);
    EXPECT_EQ(again, first);
    first->release();
    again->release();

    // Idle for a minute: the size is dropped and the file closed; the remembered file reopens.
    fakeNow += 61;
    driver->flushCache(fakeNow);
    FontFace* reopened = driver->openFallback(beh, 0, 10, 10, 0);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->getPathName(), path);
    EXPECT_NE(reopened->getGlyph(beh, 1), nullptr);

    // A new search path retires every file entry: the fallback is searched for again and found in
    // a new entry, while the face still held keeps drawing from the old one.
    FontPathSources sources;
    sources.fontPathEnv = folder.path();
    driver->setSearchPath(buildSearchPath(sources), false);
    FontFace* searched = driver->openFallback(beh, 0, 10, 10, 0);
    ASSERT_NE(searched, nullptr);
    EXPECT_NE(searched, reopened);
    EXPECT_EQ(searched->getPathName(), path);
    EXPECT_NE(reopened->getGlyph(beh, 1), nullptr);
    reopened->release();
    searched->release();
}
