#include "platform/pinmodules.h"

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>

namespace {

int collect(struct dl_phdr_info* info, size_t, void* names) {
  if (info->dlpi_name && info->dlpi_name[0])
    static_cast<std::vector<std::string>*>(names)->push_back(info->dlpi_name);
  return 0;
}

}  // namespace

void pinLoadedModules() {
  // Named first, pinned after: the loader's list is locked while it is walked.
  std::vector<std::string> names;
  dl_iterate_phdr(collect, &names);
  for (const std::string& name : names) dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}
