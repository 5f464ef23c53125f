// The library's exported C entry points. Every exported name carries a
// leading underscore ("_ShowMDIChildForm"); on ELF the assembler label gives
// it, on Windows the module-definition file. None lets an exception out (see
// export_guard.h): each reports it to the host's log and returns its failure
// value (CanRun 0, SonvioAutomate -1).
#pragma once

#include <cstdint>

#include "host/host_interface.h"

#if defined(_WIN32)
#define SONVIO_API
#define SONVIO_SYMBOL(name)
#else
#define SONVIO_API __attribute__((visibility("default")))
#define SONVIO_SYMBOL(name) __asm__("_" #name)
#endif

extern "C" {
SONVIO_API void ShowMDIChildForm(void* application) noexcept SONVIO_SYMBOL(ShowMDIChildForm);
SONVIO_API void CloseMDIChildForm(void* application) noexcept SONVIO_SYMBOL(CloseMDIChildForm);
SONVIO_API int32_t CanRun(void) noexcept SONVIO_SYMBOL(CanRun);
SONVIO_API void SetGetInterface(void* value) noexcept SONVIO_SYMBOL(SetGetInterface);
SONVIO_API void SetShowLineFunc(host::ShowLineFunc callback) noexcept
    SONVIO_SYMBOL(SetShowLineFunc);
SONVIO_API void SetFuncInterface(const void* table, int32_t size) noexcept
    SONVIO_SYMBOL(SetFuncInterface);
SONVIO_API void SetComHandle(uint32_t handle) noexcept SONVIO_SYMBOL(SetComHandle);
SONVIO_API void SetBasebandType(int32_t type) noexcept SONVIO_SYMBOL(SetBasebandType);
// Runs one automation command on the newest panel; see automation.h.
SONVIO_API int32_t SonvioAutomate(const char* command, char* reply, int32_t capacity) noexcept
    SONVIO_SYMBOL(SonvioAutomate);

// One pointer-sized variable per panel class; never assigned.
SONVIO_API extern void* FCSonvio SONVIO_SYMBOL(FCSonvio);
SONVIO_API extern void* KelboFMRGUI SONVIO_SYMBOL(KelboFMRGUI);
SONVIO_API extern void* frm_DruskGUI SONVIO_SYMBOL(frm_DruskGUI);
}
