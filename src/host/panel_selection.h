// Choosing, showing and closing the panel for the handset's chip.
#pragma once

#include <cstddef>
#include <string_view>

namespace host {

// True when the chip-version reply names the second-generation chip. The
// reply is read up to its first zero byte, never past `size` bytes.
bool IsSecondGenerationReply(const char* reply, size_t size);

void ShowPanel(void* host_application);
void ClosePanel(void* host_application);

}  // namespace host
