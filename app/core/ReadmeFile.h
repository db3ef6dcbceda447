#pragma once

#include <string>

// The readme file that "View readme" opens from the start directory and that a new
// installation ships: "Readme", then "9x" or "NT" for the driver library's platform code '9'
// or 'N' (nothing for any other code), then "SVK.txt".
std::string readmeFileName(char platformCode);
