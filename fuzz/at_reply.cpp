// Decoding of second-generation AT replies: one method of the audio
// application's command set, answered with the input's text by the
// transport library's test double, so the reply goes through the session's
// exchange, the reply preprocessing and the reader into the method's record.
//
// Input: byte 0 picks the method (modulo 20, in the order of all_methods.h)
// and, from the quotient, how the reply arrives: complete, as an error
// reply, after one failed receive, or after one pending receive. The rest of
// the input is the reply text.
#include <cstdlib>
#include <memory>

#include "all_methods.h"
#include "fuzz_input.h"
#include "gen2/aud_app.h"
#include "null_host.h"
#include "tessic_double.h"
#include "ui/headless/headless_services.h"

namespace {

// One session over the double for the whole run, as the panel keeps its own.
struct Session {
  ui::HeadlessServices services;
  testing_host::NullHost host;
  gen2_test::TessicDouble tessic;
  std::unique_ptr<MANAGED_IF::aud_app> app;
  MANAGED_IF::Records records;
  std::vector<MANAGED_IF::Method> methods = MANAGED_IF::AllMethods(records);

  Session() {
    MANAGED_IF::TransportWrapper fresh(common::ModuleContext{host, services});
    app = std::make_unique<MANAGED_IF::aud_app>(fresh);
    if (app->session().channel_id() < 0) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session;
  fuzz::FuzzInput in(data, size);
  const uint8_t pick = in.U8();
  const MANAGED_IF::Method& method = session.methods[pick % session.methods.size()];
  const size_t way = pick / session.methods.size() % 4;

  // Receive statuses: 0 complete, -1 failed, -2 error, -3 pending.
  gen2_test::DoubleState& state = *session.tessic.operator->();
  state = gen2_test::DoubleState{};
  if (way >= 2) state.queued.push_back({way == 2 ? -1 : -3, ""});
  state.queued.push_back({way == 1 ? -2 : 0, std::string(in.Rest())});

  const int32_t code = method.call(*session.app);
  if (code != MANAGED_IF::kResultOk && code != MANAGED_IF::kResultError) std::abort();
  return 0;
}
