#include "gen2/tessic_binding.h"

#include "ui/services.h"

namespace MANAGED_IF {

TessicBinding& Tessic() {
  static TessicBinding binding;
  return binding;
}

bool LoadTessic(const std::string& path, ui::Services& services) {
  UnloadTessic();
  TessicBinding& binding = Tessic();
  binding.library = platform::DynamicLibrary::Open(path);
  if (!binding.library.IsLoaded()) return false;

  std::string missing;
  for (size_t i = 0; i < kTessicEntryCount; ++i) {
    binding.entries[i] = binding.library.Symbol(kTessicEntryNames[i]);
    if (binding.entries[i] == nullptr) {
      missing += kTessicEntryNames[i];
      missing += '\n';
    }
  }
  if (!missing.empty()) {
    services.ShowMessage("The following functions were not loaded in TESSIC.DLL:\n" + missing, "",
                         ui::MessageIcon::kNone);
    return false;
  }
  return true;
}

void UnloadTessic() {
  TessicBinding& binding = Tessic();
  binding.library.Reset();
  binding.entries.fill(nullptr);
}

}  // namespace MANAGED_IF
