#include "core/ReadmeFile.h"

std::string readmeFileName(char platformCode) {
    std::string name = "Readme";
    if (platformCode == '9') name += "9x";
    if (platformCode == 'N') name += "NT";
    return name + "SVK.txt";
}
