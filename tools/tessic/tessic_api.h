// The C interface of the transport library TESSIC.dll: sessions to a handset
// over a connection text, a dedicated AT channel per session, and one
// command / one reply at a time on that channel.
#pragma once

#include <stdint.h>

#if defined(_WIN32)
#define TESSIC_API __declspec(dllexport)
#else
#define TESSIC_API __attribute__((visibility("default")))
#endif

// Statuses of TESSIC_recv.
#define TESSIC_RECV_COMPLETE 0    // reply complete, positive
#define TESSIC_RECV_FAILED (-1)   // connection failed or unknown channel: send again
#define TESSIC_RECV_ERROR (-2)    // reply complete, error
#define TESSIC_RECV_PENDING (-3)  // nothing final yet: call again

#ifdef __cplusplus
extern "C" {
#endif

// Sessions still open when the library is unloaded are closed then.
// Opens a session on `connection` ("FMR/TCPIPc_" + address + ":" + port);
// `options` is empty (the handset's echo is switched on with "ATE1" on each
// new connection and replies are framed after their command's echo) or
// "echo=off" (no echo; stale bytes are dropped before each send and a
// failed receive closes the connection). The session id, or a negative
// value on failure.
TESSIC_API int32_t TESSIC_SessionOpen(const char* connection, const char* options);
// Non-zero when the session was open and is now closed.
TESSIC_API uint8_t TESSIC_SessionClose(int32_t session);
// The session's dedicated channel id, or a negative value.
TESSIC_API int32_t TESSIC_DedChOpen(int32_t session);
// 0 when the channel was open and is now closed.
TESSIC_API int32_t TESSIC_DedChClose(int32_t channel);
// Sends one command line of `length` bytes (without line ends); 0 on
// success, -1 on failure. Whatever is left of earlier replies is never taken
// for this command's.
TESSIC_API int32_t TESSIC_send(int32_t channel, const char* text, int32_t length);
// Waits a short slice (about 30 ms) for the reply, then answers pending even
// while bytes keep arriving; on a final status writes the reply text (final
// line removed, zero-terminated, cut to capacity - 1 characters). Fails when
// the connection is lost, when no command awaits its reply, or when the
// channel's timeout has passed since the send, however the bytes trickle.
TESSIC_API int32_t TESSIC_recv(int32_t channel, char* buffer, int32_t capacity);

// Service functions. Texts are written zero-terminated into `buffer`; the
// result is the length of the full text, or -1.
TESSIC_API int32_t TESSIC_GetCurrentDir(char* buffer, int32_t capacity);
TESSIC_API int32_t TESSIC_SetCurrentDir(const char* folder);
TESSIC_API int32_t TESSIC_start_trace(const char* file);
TESSIC_API int32_t TESSIC_stop_trace(void);
// Hands every event the trace writes (session id, event, text of `length`
// bytes, not zero-terminated) to `sink` as well, on the thread of the call
// that caused it; a null `sink` stops that. A host uses it to tell how a
// command's exchange ended. 0 on success.
typedef void (*TESSIC_EventSink)(void* context, int32_t session, const char* event,
                                 const char* text, int32_t length);
TESSIC_API int32_t TESSIC_set_event_sink(TESSIC_EventSink sink, void* context);
TESSIC_API int32_t TESSIC_GetDllVersion(char* buffer, int32_t capacity);
TESSIC_API int32_t TESSIC_QueryConnTypes(char* buffer, int32_t capacity);
TESSIC_API int32_t TESSIC_QueryOpenPorts(char* buffer, int32_t capacity);
TESSIC_API int32_t TESSIC_QueryConnOptions(const char* conn_type, char* buffer, int32_t capacity);
TESSIC_API int32_t TESSIC_QueryOptionRange(const char* conn_type, const char* option, char* buffer,
                                           int32_t capacity);
TESSIC_API int32_t TESSIC_SearchPluginDll(const char* folder, char* buffer, int32_t capacity);
// Receive timeout of a channel in milliseconds (at least 1): how long after
// the send a reply must be complete. New sessions take it from the environment
// variable TESSIC_TIMEOUT_MS, else 10000. 0 on success.
TESSIC_API int32_t TESSIC_set_timeout(int32_t channel, int32_t timeout_ms);

#ifdef __cplusplus
}
#endif
