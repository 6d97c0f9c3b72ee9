// The application data of tests that stand in for the program (they define g_lpApp and
// g_szCookie): made fresh over the program's objects for each test and freed after it.
#pragma once

struct ProgramObjects;

namespace testsupport {

// Winsock started and the local address the program's requests name, once per process; false
// when Winsock did not start.
bool StartNetworkOnce();

// Frees an earlier test's data, then makes new application data over new program objects, with
// no cookie, no pending web port or server name and a fresh device session.
void MakeProgramAppData();
void FreeProgramAppData();
// The program objects under the application data of MakeProgramAppData.
ProgramObjects& TestProgramObjects();

}  // namespace testsupport
