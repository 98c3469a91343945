// MakeFullPath: data files resolve against the executable's folder, or a
// redirected data folder.
#include "system/path_rules.h"
#include "zo.h"

char dataFolder[DataFolderCapacity];

namespace {
const int ModulePathCapacity = 256;             // what GetModuleFileNameA is given
char folderName[ModulePathCapacity];            // kept between calls, as the name of the last folder seen
char fullPath[DataFolderCapacity + 1 + ModulePathCapacity];  // a full data folder plus a folder name fit
}  // namespace

const char* MakeFullPath(int flag) {
  char module[ModulePathCapacity + 1] = "";
  GetModuleFileNameA(instanceHandle, module, ModulePathCapacity);
  module[ModulePathCapacity] = '\0';
  zo::StripFileName(module);
  if (flag == 0 || dataFolder[0] == '\0') {
    fullPath[0] = '\0';
    zo::AppendBounded(fullPath, sizeof fullPath, module);
    return fullPath;
  }
  zo::ComposeDataPath(module, dataFolder, folderName, sizeof folderName, fullPath, sizeof fullPath);
  return fullPath;
}
