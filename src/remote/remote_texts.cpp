#include "remote/remote_texts.h"

#include "modes/frequency_run.h"

namespace kelvane::remote {

std::string listeningText(const std::string& address, int clients) {
    return "Remote: listening on " + address + ", " + std::to_string(clients) +
           (clients == 1 ? " client" : " clients");
}

std::string retunedText(double mhz, const std::string& from) {
    return "Remote: " + runFrequencyText(mhz) + " from " + from;
}

} // namespace kelvane::remote
