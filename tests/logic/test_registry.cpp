#include "registry.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

namespace morvel {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "morvel-registry-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code error;
    fs::permissions(path_, fs::perms::owner_all, error);
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
}

unsigned modeOf(const fs::path& file) {
  struct stat info {};
  ::stat(file.c_str(), &info);
  return info.st_mode & 07777;
}

// Files in the folder other than the store itself.
std::vector<std::string> strayFiles(const fs::path& folder, const fs::path& store) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path() != store) names.push_back(entry.path().filename().string());
  return names;
}

class RegistryTest : public testing::Test {
 protected:
  TempFolder folder;
  fs::path file = folder.path() / "Morvel.ini";
};

TEST_F(RegistryTest, MissingFileGivesDefaultsAndIsNotCreatedByReading) {
  {
    RegIniFile store(file);
    EXPECT_EQ(store.ReadInteger("Start", "Højde", 470), 470);
    EXPECT_EQ(store.ReadString("Indstillinger", "Font", "Courier New"), "Courier New");
    EXPECT_TRUE(store.ReadBool("Indstillinger", "Ombrydning", true));
    EXPECT_FALSE(store.SectionExists("Start"));
    EXPECT_TRUE(store.ReadSections().empty());
  }
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(RegistryTest, ValuesSurviveClosingAndOpening) {
  {
    RegIniFile store(file);
    store.WriteInteger("Start", "Top", -12);
    store.WriteInteger("Start", "Bredde", INT_MAX);
    store.WriteInteger("Start", "Venstre", INT_MIN);
    store.WriteInteger("Editor", "ElemT", 0x0000FF);
    store.WriteInteger("Editor", "AlmB", static_cast<int>(0x80000005u));  // a system colour
    store.WriteBool("Indstillinger", "Autodato", false);
    store.WriteBool("Indstillinger", "Generator", true);
    store.WriteString("Indstillinger", "Datoformat", "\"Opdateret d.\" d/m/yy");
    store.WriteString("Indstillinger", "Email", "");
  }
  RegIniFile store(file);
  EXPECT_EQ(store.ReadInteger("Start", "Top", 5), -12);
  EXPECT_EQ(store.ReadInteger("Start", "Bredde", 0), INT_MAX);
  EXPECT_EQ(store.ReadInteger("Start", "Venstre", 0), INT_MIN);
  EXPECT_EQ(store.ReadInteger("Editor", "ElemT", 0), 0x0000FF);
  EXPECT_EQ(static_cast<unsigned>(store.ReadInteger("Editor", "AlmB", 0)), 0x80000005u);
  EXPECT_FALSE(store.ReadBool("Indstillinger", "Autodato", true));
  EXPECT_TRUE(store.ReadBool("Indstillinger", "Generator", false));
  EXPECT_EQ(store.ReadString("Indstillinger", "Datoformat", ""), "\"Opdateret d.\" d/m/yy");
  // An empty value exists and is not replaced by the default.
  EXPECT_EQ(store.ReadString("Indstillinger", "Email", "standard"), "");
  EXPECT_TRUE(store.ValueExists("Indstillinger", "Email"));
}

TEST_F(RegistryTest, NamesIgnoreLetterCaseIncludingDanishLetters) {
  {
    RegIniFile store(file);
    store.WriteString("Indstillinger", "DatoFormat", "d/m");
    store.WriteString("Indstillinger", "Datoformat", "dd/mm");
    store.WriteInteger("Start", "Højde", 470);
    store.WriteInteger("START", "HØJDE", 480);
    store.WriteString("Indstillinger", "BrowserSti1", "/usr/bin/firefox");
    store.WriteBool("Indstillinger", "ÆØÅkoder", true);
  }
  RegIniFile store(file);
  EXPECT_EQ(store.ReadString("indstillinger", "DATOFORMAT", ""), "dd/mm");
  EXPECT_EQ(store.ReadInteger("start", "højde", 0), 480);
  EXPECT_EQ(store.ReadString("Indstillinger", "Browsersti1", ""), "/usr/bin/firefox");
  EXPECT_TRUE(store.ReadBool("Indstillinger", "æøåKODER", false));
  // One entry each, spelt as first written.
  EXPECT_EQ(store.ReadSection("Start"), std::vector<std::string>{"Højde"});
  EXPECT_EQ(store.ReadSections(), (std::vector<std::string>{"Indstillinger", "Start"}));
  EXPECT_FALSE(store.ValueExists("Start", "Hojde"));
}

TEST_F(RegistryTest, FileIsReadableUtf8WithModeOwnerOnly) {
  writeAll(file, "[Start]\nTop=1\n");
  ::chmod(file.c_str(), 0644);
  {
    RegIniFile store(file);
    store.WriteInteger("Start", "Højde", 470);
    store.WriteString("Ftp", "Kodeord", "hemmeligt");
    EXPECT_TRUE(store.UpdateFile());
  }
  EXPECT_EQ(modeOf(file), 0600u);
  const std::string content = readAll(file);
  EXPECT_NE(content.find("[Start]\nTop=1\nHøjde=470\n"), std::string::npos) << content;
  EXPECT_TRUE(strayFiles(folder.path(), file).empty());
}

TEST_F(RegistryTest, AwkwardTextsComeBackUnchanged) {
  const std::vector<std::pair<std::string, std::string>> values{
      {"Kode1b", "<SCRIPT>\r\nvar a = b;\r\n</SCRIPT>"},
      {"Sti", "C:\\Dokumenter\\Web\\"},
      {"Blanke", "  to foran og bagved  "},
      {"Lighed=tegn", "a=b=c"},
      {"[Ikke sektion]", "[x]"},
      {";ikke kommentar", "; heller ikke"},
      {" kant ", "\t"},
      {"Nul", std::string("a\0b", 3)},
      {"Bagstreg\\n", "\\n er ikke et linjeskift"},
  };
  {
    RegIniFile store(file);
    for (const auto& [name, value] : values) store.WriteString("Forbindelse ]1[ ", name, value);
  }
  RegIniFile store(file);
  EXPECT_EQ(store.ReadSections(), std::vector<std::string>{"Forbindelse ]1[ "});
  for (const auto& [name, value] : values)
    EXPECT_EQ(store.ReadString("Forbindelse ]1[ ", name, "mangler"), value) << name;
  EXPECT_EQ(store.ReadSection("Forbindelse ]1[ ").size(), values.size());
}

TEST_F(RegistryTest, DeletingValuesAndSectionsPersists) {
  {
    RegIniFile store(file);
    store.WriteString("Filer", "Fil1", "/a.htm");
    store.WriteString("Filer", "Fil2", "/b.htm");
    store.WriteString("Meta", "Author", "Ida");
    EXPECT_TRUE(store.DeleteValue("FILER", "fil1"));
    EXPECT_FALSE(store.DeleteValue("Filer", "Fil1"));
    EXPECT_FALSE(store.DeleteValue("Ingen", "Fil1"));
    store.EraseSection("meta");
    store.EraseSection("Ingen");
  }
  RegIniFile store(file);
  EXPECT_EQ(store.ReadSections(), std::vector<std::string>{"Filer"});
  EXPECT_EQ(store.ReadSection("Filer"), std::vector<std::string>{"Fil2"});
  EXPECT_EQ(store.ReadString("Filer", "Fil2", ""), "/b.htm");
  EXPECT_FALSE(store.SectionExists("Meta"));
  EXPECT_EQ(store.ReadString("Meta", "Author", "ingen"), "ingen");
}

TEST_F(RegistryTest, HandEditedFilesAreRead) {
  writeAll(file,
           "\xEF\xBB\xBF; skrevet i en teksteditor\r\n"
           "# endnu en kommentar\r\n"
           "  [ Start ]  \r\n"
           "  Top = 17 \r\n"
           "Vis=\r\n"
           "Filboks = true\r\n"
           "\r\n"
           "[Indstillinger]\r\n"
           "Font= Arial\r\n");
  RegIniFile store(file);
  EXPECT_EQ(store.ReadInteger("Start", "Top", 5), 17);
  EXPECT_EQ(store.ReadInteger("Start", "Vis", 3), 3);
  EXPECT_TRUE(store.ReadBool("Start", "Filboks", false));
  EXPECT_EQ(store.ReadString("Indstillinger", "Font", ""), " Arial");
}

TEST_F(RegistryTest, DamagedContentTakesDefaults) {
  writeAll(file,
           "Uden=sektion\n"
           "[Start]\n"
           "Top=fem\n"
           "Venstre=99999999999999\n"
           "Højde=12abc\n"
           "Bredde=640\n"
           "ingen lighedstegn\n"
           "=uden navn\n"
           "[Ødelagt\n"
           "Status=2\n"
           "[Indstillinger]\n"
           "Filnavn=ja\n"
           "Lineal=0\n");
  RegIniFile store(file);
  EXPECT_EQ(store.ReadString("", "Uden", "d"), "d");
  EXPECT_EQ(store.ReadInteger("Start", "Top", 5), 5);
  EXPECT_EQ(store.ReadInteger("Start", "Venstre", 5), 5);
  EXPECT_EQ(store.ReadInteger("Start", "Højde", 470), 470);
  EXPECT_EQ(store.ReadString("Start", "Højde", ""), "12abc");
  EXPECT_EQ(store.ReadInteger("Start", "Bredde", 630), 640);
  // Values under a broken header belong to no section.
  EXPECT_EQ(store.ReadInteger("Start", "Status", 1), 1);
  EXPECT_FALSE(store.ReadBool("Indstillinger", "Filnavn", false));
  EXPECT_FALSE(store.ReadBool("Indstillinger", "Lineal", true));
}

TEST_F(RegistryTest, GarbageFileNeverThrowsAndIsReplacedOnWrite) {
  std::mt19937 random(7);
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage.push_back(static_cast<char>(random() & 0xFF));
  garbage += "\n[Start]\nTop=42\n";
  writeAll(file, garbage);
  {
    RegIniFile store(file);
    EXPECT_EQ(store.ReadInteger("Start", "Top", 5), 42);
    EXPECT_EQ(store.ReadInteger("Start", "Bredde", 630), 630);
    store.WriteInteger("Start", "Bredde", 700);
    EXPECT_TRUE(store.UpdateFile());
  }
  RegIniFile store(file);
  EXPECT_EQ(store.ReadInteger("Start", "Top", 5), 42);
  EXPECT_EQ(store.ReadInteger("Start", "Bredde", 630), 700);
}

TEST_F(RegistryTest, OnlyReadingNeverRewritesTheFile) {
  const std::string content = "; mine noter\n[Start]\nTop=3\n";
  writeAll(file, content);
  {
    RegIniFile store(file);
    store.WriteInteger("Start", "Top", 3);  // the value it already has
    EXPECT_TRUE(store.UpdateFile());
  }
  EXPECT_EQ(readAll(file), content);
}

TEST_F(RegistryTest, UnreadableStoreIsNeverOverwritten) {
  fs::create_directory(file);  // something that is not a settings file
  fs::path inside = file / "keep";
  writeAll(inside, "x");
  {
    RegIniFile store(file);
    EXPECT_EQ(store.ReadInteger("Start", "Top", 5), 5);
    store.WriteInteger("Start", "Top", 9);
    EXPECT_EQ(store.ReadInteger("Start", "Top", 5), 9);  // kept for the run
    EXPECT_FALSE(store.UpdateFile());
  }
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(readAll(inside), "x");
}

// A write that fails half-way (here: the file size limit is reached) leaves
// the old file as it was and no temporary file behind.
TEST_F(RegistryTest, FailedWriteKeepsTheOldFile) {
  const std::string old = "[Start]\nTop=1\n";
  writeAll(file, old);
  RegIniFile store(file);
  for (int i = 0; i < 2000; ++i) store.WriteString("Meta", "Navn" + std::to_string(i), std::string(100, 'x'));

  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 4096;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool written = store.UpdateFile();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(written);
  EXPECT_EQ(readAll(file), old);
  EXPECT_TRUE(strayFiles(folder.path(), file).empty());
  // Nothing is lost: the next attempt writes everything.
  EXPECT_TRUE(store.UpdateFile());
  RegIniFile again(file);
  EXPECT_EQ(again.ReadSection("Meta").size(), 2000u);
  EXPECT_EQ(again.ReadInteger("Start", "Top", 0), 1);
}

// A process that dies in the middle of writing leaves the old file intact; the
// next run reads it and writes over it normally.
TEST_F(RegistryTest, CrashWhileWritingLeavesTheOldFile) {
  {
    RegIniFile store(file);
    store.WriteInteger("Start", "Top", 1);
    store.WriteString("Ftp", "Kodeord", "hemmeligt");
  }
  const std::string old = readAll(file);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    rlimit small{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::signal(SIGXFSZ, SIG_DFL);
    RegIniFile store(file);
    store.WriteInteger("Start", "Top", 2);
    for (int i = 0; i < 2000; ++i) store.WriteString("Meta", "Navn" + std::to_string(i), std::string(100, 'x'));
    store.UpdateFile();  // killed by the size limit in the middle of this
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer was expected to die";

  EXPECT_EQ(readAll(file), old);
  const std::vector<std::string> leftovers = strayFiles(folder.path(), file);
  ASSERT_EQ(leftovers.size(), 1u);  // the half-written temporary file
  const fs::path leftover = folder.path() / leftovers[0];
  {
    RegIniFile store(file);
    EXPECT_EQ(store.ReadInteger("Start", "Top", 0), 1);
    EXPECT_EQ(store.ReadString("Ftp", "Kodeord", ""), "hemmeligt");
    store.WriteInteger("Start", "Top", 3);
    EXPECT_TRUE(store.UpdateFile());
  }
  EXPECT_EQ(RegIniFile(file).ReadInteger("Start", "Top", 0), 3);
  // A fresh leftover may be a writer at work and stays; an old one goes.
  EXPECT_TRUE(fs::exists(leftover));
  fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::hours(1));
  {
    RegIniFile store(file);
    store.WriteInteger("Start", "Top", 4);
  }
  EXPECT_TRUE(strayFiles(folder.path(), file).empty());
}

TEST_F(RegistryTest, SymbolicLinkStaysALink) {
  const fs::path real = folder.path() / "dotfiles" / "Morvel.ini";
  fs::create_directories(real.parent_path());
  writeAll(real, "[Start]\nTop=1\n");
  fs::create_symlink(real, file);
  {
    RegIniFile store(file);
    store.WriteInteger("Start", "Top", 2);
  }
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(RegIniFile(real).ReadInteger("Start", "Top", 0), 2);
}

class EnvironmentGuard {
 public:
  explicit EnvironmentGuard(std::vector<std::string> names) : names_(std::move(names)) {
    for (const std::string& name : names_) {
      const char* value = std::getenv(name.c_str());
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  ~EnvironmentGuard() {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (saved_[i])
        ::setenv(names_[i].c_str(), saved_[i]->c_str(), 1);
      else
        ::unsetenv(names_[i].c_str());
    }
  }

 private:
  std::vector<std::string> names_;
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(RegistryTest, DefaultPathFollowsTheEnvironment) {
  EnvironmentGuard guard({"MORVEL_CONFIG", "XDG_CONFIG_HOME", "HOME"});

  ::setenv("MORVEL_CONFIG", (folder.path() / "egen" / "test.ini").c_str(), 1);
  EXPECT_EQ(defaultSettingsPath(), folder.path() / "egen" / "test.ini");
  EXPECT_TRUE(fs::is_directory(folder.path() / "egen"));

  ::unsetenv("MORVEL_CONFIG");
  ::setenv("XDG_CONFIG_HOME", (folder.path() / "xdg").c_str(), 1);
  EXPECT_EQ(defaultSettingsPath(), folder.path() / "xdg" / "Brimvale" / "Morvel.ini");
  EXPECT_TRUE(fs::is_directory(folder.path() / "xdg" / "Brimvale"));

  ::setenv("HOME", (folder.path() / "hjem").c_str(), 1);
  for (const char* xdg : {"", "relativ/sti"}) {
    ::setenv("XDG_CONFIG_HOME", xdg, 1);
    EXPECT_EQ(defaultSettingsPath(), folder.path() / "hjem" / ".config" / "Brimvale" / "Morvel.ini");
  }
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(defaultSettingsPath(), folder.path() / "hjem" / ".config" / "Brimvale" / "Morvel.ini");
  EXPECT_TRUE(fs::is_directory(folder.path() / "hjem" / ".config" / "Brimvale"));
}

}  // namespace
}  // namespace morvel
