#include "pulse_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <thread>

namespace pellark {
namespace {

constexpr const char* kSink = "pellark_test";

std::filesystem::path FreshFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pellark-pulse-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

}  // namespace

PulseSession::PulseSession() : folder_(FreshFolder()) {
  if (folder_.empty()) return;
  const std::string home = "HOME=" + folder_.string();
  const std::string runtime = "XDG_RUNTIME_DIR=" + folder_.string();
  server_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{
          "pulseaudio", "--daemonize=no", "-n", "--exit-idle-time=-1", "--use-pid-file=no",
          "--disable-shm=yes", "-L",
          std::string("module-null-sink sink_name=") + kSink + " rate=48000 channels=1", "-L",
          "module-native-protocol-unix auth-anonymous=1 socket=" + (folder_ / "native").string()},
      std::vector<std::string>{home, runtime});
  if (!server_->Started()) return;
  // Ready once a client is answered.
  const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
  const std::string probe = ClientEnvironment() + " pactl info >/dev/null 2>&1";
  while (std::chrono::steady_clock::now() < deadline) {
    if (std::system(probe.c_str()) == 0) {
      ready_ = true;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

PulseSession::~PulseSession() {
  server_.reset();
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

std::string PulseSession::ClientEnvironment() const {
  return "PULSE_SERVER=unix:" + (folder_ / "native").string();
}

SinkRecorder::SinkRecorder(const PulseSession& session)
    : recorder_({"parec", "--raw", "--format=s16le", "--rate=48000", "--channels=1",
                 "--latency-msec=20", std::string("--device=") + kSink + ".monitor"},
                {session.ClientEnvironment()}, true) {
  if (recorder_.OutputDescriptor() >= 0) fcntl(recorder_.OutputDescriptor(), F_SETFL, O_NONBLOCK);
}

const std::vector<std::int16_t>& SinkRecorder::Samples() {
  std::array<unsigned char, 65536> buffer;
  for (ssize_t count;
       (count = read(recorder_.OutputDescriptor(), buffer.data(), buffer.size())) > 0;) {
    pending_.insert(pending_.end(), buffer.begin(), buffer.begin() + count);
    std::size_t i = 0;
    for (; i + 1 < pending_.size(); i += 2)
      samples_.push_back(static_cast<std::int16_t>(pending_[i] | pending_[i + 1] << 8));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return samples_;
}

}  // namespace pellark
