#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "x11_session.h"

namespace pellark {

// A PulseAudio server of its own, in a folder of its own, whose only sink (the default one)
// plays into nothing: what reaches it can be recorded from its monitor.
class PulseSession {
 public:
  PulseSession();
  PulseSession(const PulseSession&) = delete;
  PulseSession& operator=(const PulseSession&) = delete;
  ~PulseSession();

  bool Ready() const { return ready_; }
  // The environment entry that points a client at this server.
  std::string ClientEnvironment() const;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<ChildProcess> server_;
  bool ready_ = false;
};

// Records the sink's monitor, 16-bit mono at 48 000 Hz, from its making on.
class SinkRecorder {
 public:
  explicit SinkRecorder(const PulseSession& session);

  bool Started() const { return recorder_.Started(); }
  // Every sample recorded so far.
  const std::vector<std::int16_t>& Samples();

 private:
  ChildProcess recorder_;
  std::vector<std::int16_t> samples_;
  // A sample's first byte whose second has not come yet.
  std::vector<unsigned char> pending_;
};

}  // namespace pellark
