#pragma once
// Reading a web page over HTTP: one GET, no cached copy, the agent name
// given, bounded in time and in size, so a slow or hostile server can neither
// hang the program nor flood it.

#include <string>

namespace zam::platform {

/// What a GET gives: 0 read, -1 no session could be set up, -2 the page
/// could not be opened (no answer, refused, timed out before any reply), -3
/// the reply broke off while it was read.
int HttpGet(const char* url, const char* agent, std::string& body, size_t maxBytes = 10000);

/// The time-outs of every later GET, in milliseconds (connect, whole request).
/// Defaults: 5,000 and 15,000.
void SetHttpTimeouts(long connectMs, long totalMs);

}  // namespace zam::platform
