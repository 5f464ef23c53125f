// The scripting and recording interface of the TESSIC.dll test double.
#pragma once

#include <stdint.h>

#include "tessic_api.h"

#ifdef __cplusplus
extern "C" {
#endif

// Forgets the script and the record; open results 7 (session), 9
// (channel), 1 (close).
TESSIC_API void Double_Reset(void);
TESSIC_API void Double_SetOpenResults(int32_t session, int32_t channel, uint8_t close);
// One-shot receive answers, used in order before any standing reply.
TESSIC_API void Double_QueueReceive(int32_t status, const char* text);
// A one-shot answer that fills the whole receive capacity with 'A' and no
// terminating zero.
TESSIC_API void Double_QueueFullBuffer(int32_t status);
// The standing answer for commands that start with `command_prefix` (the
// longest matching prefix wins); without one a receive answers 0 and "".
TESSIC_API void Double_SetReply(const char* command_prefix, int32_t status, const char* text);

TESSIC_API int32_t Double_CallCount(const char* function);
TESSIC_API int32_t Double_SentCount(void);
TESSIC_API const char* Double_Sent(int32_t index);
TESSIC_API int32_t Double_SentChannel(int32_t index);
TESSIC_API int32_t Double_SentLength(int32_t index);
TESSIC_API const char* Double_LastConnection(void);
TESSIC_API const char* Double_LastOptions(void);

#ifdef __cplusplus
}
#endif
