#include "emulator/DeviceEmulator.h"

#include "emulator/PipeAcceptor.h"

namespace {
constexpr DevicePipe kAllPipes[kDevicePipeCount] = {DevicePipe::Presence, DevicePipe::Out,
                                                    DevicePipe::In};
// How long Start waits to see its own presence pipe.
constexpr DWORD kStartCheckMs = 2000;
}  // namespace

DeviceEmulator::DeviceEmulator(const DeviceEmulatorConfig& config)
    : m_config(config),
      m_state(config),
      m_stopAttach(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

DeviceEmulator::~DeviceEmulator() { Stop(); }

bool DeviceEmulator::Start() {
  if (m_started || m_stopped) return m_started;
  m_started = true;
  for (DevicePipe pipe : kAllPipes) {
    m_acceptors.push_back(std::make_unique<PipeAcceptor>(pipe, m_config.name, m_state, m_capture));
  }
  m_state.Synchronize();
  if (m_config.attachAfterMs > 0) m_attacher = std::thread(&DeviceEmulator::AttachLater, this);
  if (!IsPresent()) return true;
  std::string presence = DevicePipePath(m_config.name, DevicePipe::Presence);
  return ::WaitNamedPipeA(presence.c_str(), kStartCheckMs) != FALSE;
}

void DeviceEmulator::Stop() {
  if (!m_started) return;
  m_started = false;
  m_stopped = true;
  ::SetEvent(m_stopAttach.get());
  if (m_attacher.joinable()) m_attacher.join();
  m_state.Stop();
  m_acceptors.clear();
}

void DeviceEmulator::AttachLater() {
  if (::WaitForSingleObject(m_stopAttach.get(), m_config.attachAfterMs) == WAIT_TIMEOUT) Attach();
}

void DeviceEmulator::Unplug() { m_state.SetPresent(false); }
void DeviceEmulator::Attach() { m_state.SetPresent(true); }
bool DeviceEmulator::IsPresent() const { return m_state.Read().present; }
void DeviceEmulator::Stall() { m_state.SetStalled(true); }
void DeviceEmulator::Resume() { m_state.SetStalled(false); }
void DeviceEmulator::SetReadDelay(DWORD readDelayMs) { m_state.SetReadDelay(readDelayMs); }
void DeviceEmulator::UnplugAfterBytes(unsigned long long bytes) { m_state.UnplugAfterBytes(bytes); }
void DeviceEmulator::StallAfterBytes(unsigned long long bytes) { m_state.StallAfterBytes(bytes); }
void DeviceEmulator::SetReply(const std::vector<unsigned char>& reply) { m_state.SetReply(reply); }

bool DeviceEmulator::WaitForTotalBytes(unsigned long long total, DWORD timeoutMs) const {
  return m_capture.WaitForTotalBytes(total, timeoutMs);
}

bool DeviceEmulator::WaitForWriteCount(size_t count, DWORD timeoutMs) const {
  return m_capture.WaitForWriteCount(count, timeoutMs);
}

bool DeviceEmulator::WaitForOpenCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const {
  return m_state.WaitForOpenCount(pipe, count, timeoutMs);
}

bool DeviceEmulator::WaitForConnectedCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const {
  return m_state.WaitForConnectedCount(pipe, count, timeoutMs);
}

bool DeviceEmulator::WaitForRepliesTaken(unsigned count, DWORD timeoutMs) const {
  return m_state.WaitForRepliesTaken(count, timeoutMs);
}
