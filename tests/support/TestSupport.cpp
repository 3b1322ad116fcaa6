#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <random>

namespace brixel::test {

Prompter::Answer ScriptedPrompter::Ask(const std::string& title, const std::string& text,
                                       Icon icon, Buttons buttons) {
  shown.push_back({title, text, icon, buttons});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) return Answer::No;
  const Answer answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

BackEndFixture::BackEndFixture() {
  InstallErrorReporter(&reporter);
  InstallPrompter(&prompter);
}

BackEndFixture::~BackEndFixture() {
  InstallErrorReporter(nullptr);
  InstallPrompter(nullptr);
}

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("brixel-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only files behind; make the tree removable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path SamplesDir() {
  const std::filesystem::path dir = BRIXEL_SAMPLES_DIR;
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

void KeepFuzzSeed(const std::string& kind, const std::string& name, const Bytes& bytes) {
  const std::filesystem::path dir = std::filesystem::path(BRIXEL_FUZZ_SEEDS_DIR) / kind;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec) WriteBytes(dir / name, bytes);
}

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace brixel::test
