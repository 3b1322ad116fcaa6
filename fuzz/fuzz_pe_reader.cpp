// Feeds arbitrary bytes to the reader of Windows programs and libraries (PE32, PE32+, NE): the
// resource directory, every group rebuilt under one budget for the file, and every rebuilt file
// read as the editor opens it. Besides the sanitizers' checks: what is rebuilt stays within the
// budget, an animated group is an animated cursor file, and the file names extract would write
// are distinct and stay in their folder.

#include <cstddef>
#include <cstdint>
#include <set>

#include "AniFile.h"
#include "FuzzSupport.h"
#include "ProgramIcons.h"
#include "cAni.h"
#include "cIco.h"

using namespace brixel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const Bytes input(data, data + size);
  try {
    const ProgramIcons program(input);
    const std::vector<std::string> names = GroupFileNames(program.Groups());
    const std::set<std::string> distinct(names.begin(), names.end());
    fuzz::Require(distinct.size() == names.size(), "every group has a file name of its own");
    for (const std::string& name : names) {
      fuzz::Require(name.find('/') == std::string::npos && name[0] != '.', "a file name stays in its folder");
    }
    RebuildBudget budget(size);
    const std::size_t allowed = budget.bytes;
    std::size_t written = 0;
    for (std::size_t i = 0; i < program.Groups().size(); ++i) {
      program.ImageSizes(i);
      RebuiltGroup group;
      try {
        group = program.Rebuild(i, &budget);
      } catch (const BackEndError&) {
        continue;
      }
      written += group.file.size();
      fuzz::Require(written <= allowed, "the rebuilt groups stay within the budget");
      const GroupKind kind = program.Groups()[i].kind;
      if (kind == GroupKind::AnimatedIcon || kind == GroupKind::AnimatedCursor) {
        fuzz::Require(IsAnimatedCursorFile(group.file), "an animated group is an animated cursor file");
        cAni cursor;
        cursor.ReadAniData(group.file);
      } else {
        cIco icon;
        icon.ReadIconData(group.file);
      }
    }
  } catch (const BackEndError&) {
  }
  return 0;
}
