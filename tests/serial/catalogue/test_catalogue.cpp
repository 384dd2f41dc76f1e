// The port's messages come from the message catalogue of the text domain "cport", looked up in
// the user's language; texts without a translation stay as written.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "serial/CPort.h"

namespace {

TEST(Catalogue, MessagesAndTheErrorSuffixAreTranslated) {
  // The language must be chosen before the first port looks its messages up.
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("LANGUAGE", "de", 1);
  TComPort port(nullptr);
  port.SetPort("ttyNoSuchDevice6");
  try {
    port.Open();
    FAIL() << "opened a missing device";
  } catch (const EComPort& e) {
    // Single-byte text: the catalogue's UTF-8 arrives in code page 1252.
    EXPECT_EQ(e.Message,
              "Schnittstelle l\xE4sst sich nicht \xF6"
              "ffnen (Systemfehler: 2)");
  }
  EXPECT_EQ(ComPortMessages()[14], "Cannot set property while connected");
  EXPECT_EQ(EComPort(14).Message, "Cannot set property while connected");
  EXPECT_EQ(EComPort(9, 5).Message, "SetupComm function failed (Systemfehler: 5)");
}

}  // namespace
