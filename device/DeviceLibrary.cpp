#include "device/DeviceLibrary.h"

bool DeviceLibrary::Load(const char* exportName) {
  m_module.reset(::LoadLibraryA(kDeviceLibraryName));
  m_export = m_module ? ::GetProcAddress(m_module.get(), exportName) : nullptr;
  if (!m_export) m_module.reset();
  return m_export != nullptr;
}

HANDLE DeviceLibrary::OpenDev() const {
  return reinterpret_cast<OpenDevFn>(reinterpret_cast<void*>(m_export))();
}

HANDLE DeviceLibrary::OpenFile(const char* pipeName) const {
  return reinterpret_cast<OpenFileFn>(reinterpret_cast<void*>(m_export))(pipeName);
}

HANDLE OpenPipeOnce(const char* pipeName, bool& loaded) {
  DeviceLibrary library;
  loaded = library.Load(DeviceLibrary::kOpenFile);
  return loaded ? library.OpenFile(pipeName) : INVALID_HANDLE_VALUE;
}
