#include "tests/app/AppUnderTest.h"

#include "tests/uidriver/UniqueName.h"

AppUnderTest::AppUnderTest(uidriver::CurrentFolder current) : m_folder(current) {
  m_folder.SetEnvironment(kDeviceVariable, uidriver::UniqueName("quelvo-app-test"));
}

bool AppUnderTest::HasDeviceLibrary() { return uidriver::BinHas(uidriver::kDeviceLibraryName); }

::testing::AssertionResult AppUnderTest::Start() {
  if (!m_folder.Ready()) return ::testing::AssertionFailure() << "Quelvo.exe was not copied";
  if (!m_process.Start(m_folder.Launch())) {
    return ::testing::AssertionFailure() << "CreateProcess failed: " << m_process.StartError();
  }
  m_dialog = m_process.WaitForMainDialog();
  if (!m_dialog) return ::testing::AssertionFailure() << "the main dialog did not appear";
  return ::testing::AssertionSuccess();
}
