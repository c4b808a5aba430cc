#include "emulator/DeviceState.h"

#include <algorithm>
#include <chrono>

namespace {
// A pipe thread acts on a change within microseconds; this only keeps a
// wedged thread from hanging the caller.
constexpr auto kAcknowledgeTimeout = std::chrono::seconds(5);
constexpr unsigned char kIdentificationRequest = '!';
}  // namespace

DeviceState::DeviceState(const DeviceEmulatorConfig& config)
    : m_present(config.present && config.attachAfterMs == 0),
      m_stalled(config.stalled),
      m_readDelayMs(config.readDelayMs),
      m_pipeBufferBytes(config.pipeBufferBytes),
      m_smallPipeBufferBytes(config.smallPipeBufferBytes),
      m_reply(config.reply),
      m_unplugAt(config.unplugAfterBytes),
      m_stallAt(config.stallAfterBytes) {}

DeviceState::Snapshot DeviceState::Read() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return Snapshot{m_present, m_stalled, m_stopping, m_readDelayMs, m_generation};
}

DWORD DeviceState::OutBufferBytes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  bool small = m_stalled || m_readDelayMs > 0 || m_stallAt != 0;
  return small ? m_smallPipeBufferBytes : m_pipeBufferBytes;
}

void DeviceState::Register(WorkerSlot& slot) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_workers.push_back(&slot);
}

void DeviceState::Unregister(WorkerSlot& slot) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_workers.erase(std::remove(m_workers.begin(), m_workers.end(), &slot), m_workers.end());
  }
  m_changed.notify_all();
}

void DeviceState::Acknowledge(WorkerSlot& slot, unsigned long long generation) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (slot.seenGeneration == generation) return;
    slot.seenGeneration = generation;
  }
  m_changed.notify_all();
}

void DeviceState::WakeAll() {
  for (WorkerSlot* worker : m_workers) ::SetEvent(worker->wake.get());
}

void DeviceState::ChangeAndWait(std::unique_lock<std::mutex>& lock, const WorkerSlot* self) {
  unsigned long long generation = ++m_generation;
  WakeAll();
  m_changed.wait_for(lock, kAcknowledgeTimeout, [&] {
    for (const WorkerSlot* worker : m_workers) {
      if (worker != self && worker->seenGeneration < generation) return false;
    }
    return true;
  });
}

void DeviceState::SetPresent(bool present, const WorkerSlot* self) {
  std::unique_lock<std::mutex> lock(m_mutex);
  // Unplugging empties the device's IN endpoint.
  if (present != m_present) m_pendingReplyId = 0;
  m_present = present;
  ChangeAndWait(lock, self);
}

void DeviceState::SetStalled(bool stalled, const WorkerSlot* self) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_stalled = stalled;
  ChangeAndWait(lock, self);
}

void DeviceState::Synchronize() {
  std::unique_lock<std::mutex> lock(m_mutex);
  ChangeAndWait(lock, nullptr);
}

void DeviceState::SetReadDelay(DWORD readDelayMs) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_readDelayMs = readDelayMs;
  ChangeAndWait(lock, nullptr);
}

void DeviceState::Stop() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_stopping = true;
  ++m_generation;
  WakeAll();
}

unsigned long long DeviceState::Threshold(unsigned long long received, unsigned long long bytes) {
  return bytes == 0 ? 0 : received + bytes;
}

void DeviceState::UnplugAfterBytes(unsigned long long bytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_unplugAt = Threshold(m_bytesReceived, bytes);
}

void DeviceState::StallAfterBytes(unsigned long long bytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_stallAt = Threshold(m_bytesReceived, bytes);
}

bool DeviceState::OnWriteReceived(const unsigned char* data, size_t size, const WorkerSlot& self) {
  bool request = size == 1 && data[0] == kIdentificationRequest;
  bool unplug = false;
  bool stall = false;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bytesReceived += size;
    unplug = m_unplugAt != 0 && m_bytesReceived >= m_unplugAt;
    stall = m_stallAt != 0 && m_bytesReceived >= m_stallAt;
    if (unplug) m_unplugAt = 0;
    if (stall) m_stallAt = 0;
  }
  // Faults take hold before the reply shows, so a host that has the reply
  // meets the faulty device.
  if (stall) SetStalled(true, &self);
  if (unplug) SetPresent(false, &self);
  if (request && !unplug) QueueReply();
  return unplug;
}

void DeviceState::QueueReply() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_reply.empty()) return;
  m_pendingReply = m_reply;
  m_pendingReplyId = ++m_lastReplyId;
  WakeAll();
}

void DeviceState::SetReply(const std::vector<unsigned char>& reply) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_reply = reply;
}

bool DeviceState::PendingReply(std::vector<unsigned char>& reply, unsigned long long& id) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_pendingReplyId == 0) return false;
  reply = m_pendingReply;
  id = m_pendingReplyId;
  return true;
}

unsigned long long DeviceState::PendingReplyId() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_pendingReplyId;
}

void DeviceState::ReplyTaken(unsigned long long id) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (id == 0 || id != m_pendingReplyId) return;
    m_pendingReplyId = 0;
    ++m_repliesTaken;
    // Other PIPE01 handles that offered the same reply withdraw it.
    WakeAll();
  }
  m_changed.notify_all();
}

void DeviceState::CountOpen(DevicePipe pipe) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_opens[static_cast<int>(pipe)];
    ++m_connected[static_cast<int>(pipe)];
  }
  m_changed.notify_all();
}

void DeviceState::CountClose(DevicePipe pipe) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_connected[static_cast<int>(pipe)];
  }
  m_changed.notify_all();
}

unsigned DeviceState::OpenCount(DevicePipe pipe) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_opens[static_cast<int>(pipe)];
}

unsigned DeviceState::ConnectedCount(DevicePipe pipe) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_connected[static_cast<int>(pipe)];
}

unsigned DeviceState::RepliesTaken() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_repliesTaken;
}

template <class Condition>
bool DeviceState::WaitUntil(Condition condition, DWORD timeoutMs) const {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), condition);
}

bool DeviceState::WaitForOpenCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const {
  return WaitUntil([&] { return m_opens[static_cast<int>(pipe)] >= count; }, timeoutMs);
}

bool DeviceState::WaitForConnectedCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const {
  return WaitUntil([&] { return m_connected[static_cast<int>(pipe)] == count; }, timeoutMs);
}

bool DeviceState::WaitForRepliesTaken(unsigned count, DWORD timeoutMs) const {
  return WaitUntil([&] { return m_repliesTaken >= count; }, timeoutMs);
}
