#include "pty_board.h"

#include "output_frequency.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>
#ifdef __APPLE__
#include <util.h> // openpty
#else
#include <pty.h>
#endif

#include "eeprom_file.h"
#include "json_line.h"

namespace kelvane::sim {
namespace {

// NUL, control and non-ASCII bytes, some not valid UTF-8.
const std::string garbageBytes("\0\x01\x7f\x80\xc3\x28\xfe\xff", 8);

constexpr std::size_t floodPiece = 65536;

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

// Whole numbered text lines, at least `size` bytes; `line` is the number of
// the first and becomes that of the next.
std::string floodText(std::size_t& line, std::size_t size) {
    std::string text;
    text.reserve(size + 64);
    while (text.size() < size)
        text +=
            "FLOOD " + std::to_string(line++) + " the quick brown fox jumps over the lazy dog\r\n";
    return text;
}

} // namespace

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

PtyBoard::PtyBoard(BoardOptions options)
    : options_(std::move(options)),
      board_(options_.eepromPath.empty() ? startUpWords() : loadEeprom(options_.eepromPath)) {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw systemError("cannot open a pseudo-terminal");
    devicePath_ = name;
    // Raw: no echo, no line editing, no CR/LF translation, in either direction.
    termios settings{};
    ::tcgetattr(slave_, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(slave_, TCSANOW, &settings);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);

    int wake[2];
    if (::pipe(wake) != 0) throw systemError("cannot create a pipe");
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    for (int end : wake) {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    if (!options_.logPath.empty()) {
        log_ = std::fopen(options_.logPath.c_str(), "w");
        if (!log_) throw systemError("cannot write " + options_.logPath);
    }
    thread_ = std::thread(&PtyBoard::run, this);
}

PtyBoard::~PtyBoard() {
    stopping_ = true;
    [[maybe_unused]] auto written = ::write(wakeWrite_, "x", 1);
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) {
        ::close(master_);
        ::close(slave_);
    }
    ::close(wakeRead_);
    ::close(wakeWrite_);
    if (log_) std::fclose(log_);
}

void PtyBoard::hangUp() {
    hangUpRequested_ = true;
    [[maybe_unused]] auto written = ::write(wakeWrite_, "x", 1);
    if (thread_.joinable()) thread_.join();
}

std::vector<Chunk> PtyBoard::chunks() const {
    std::lock_guard lock(mutex_);
    return chunks_;
}

std::string PtyBoard::received() const {
    std::lock_guard lock(mutex_);
    std::string bytes;
    for (const auto& chunk : chunks_)
        if (chunk.fromHost) bytes += chunk.bytes;
    return bytes;
}

Words PtyBoard::eeprom() const {
    std::lock_guard lock(mutex_);
    return board_.eeprom();
}

Words PtyBoard::registers() const {
    std::lock_guard lock(mutex_);
    return board_.registers();
}

void PtyBoard::run() {
    while (!stopping_ && !hungUp_) {
        if (hangUpRequested_) {
            closeTerminal();
            break;
        }
        double now = monotonicSeconds();
        // Replies whose time has come join the outgoing bytes in their order.
        auto due = std::stable_partition(scheduled_.begin(), scheduled_.end(),
                                         [now](const Scheduled& s) { return s.due <= now; });
        for (auto it = scheduled_.begin(); it != due; ++it)
            outgoing_ += it->bytes;
        scheduled_.erase(scheduled_.begin(), due);
        if (outgoing_.empty() && floodLeft_ > 0) {
            // Only the very end of the flood may cut a line short.
            outgoing_ = floodText(floodLine_, std::min(floodLeft_, floodPiece));
            if (outgoing_.size() > floodLeft_) outgoing_.resize(floodLeft_);
            floodLeft_ -= outgoing_.size();
        }

        int timeout = -1;
        if (!scheduled_.empty()) {
            double next = scheduled_.front().due;
            for (const auto& s : scheduled_)
                next = std::min(next, s.due);
            timeout = static_cast<int>(std::ceil(std::max(0.0, next - now) * 1000));
        }
        pollfd fds[2] = {
            {master_, static_cast<short>(POLLIN | (outgoing_.empty() ? 0 : POLLOUT)), 0},
            {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
            continue;
        }
        now = monotonicSeconds();
        if (fds[0].revents & POLLIN) handleInput(now);
        if (!hungUp_ && (fds[0].revents & POLLOUT)) writePending(now);
        if (!hungUp_ && (fds[0].revents & (POLLERR | POLLNVAL))) closeTerminal();
    }
}

void PtyBoard::handleInput(double now) {
    char buffer[4096];
    const ssize_t count = ::read(master_, buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (count <= 0) {
        closeTerminal();
        return;
    }
    const std::string bytes(buffer, static_cast<std::size_t>(count));
    bool loaded = false;

    // Line by line, so that a hang-up after N lines comes right after the N-th.
    std::string replies;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        bool eepromChanged = false;
        int lines = 0;
        std::string reply;
        {
            std::lock_guard lock(mutex_);
            reply = board_.receive(std::string_view(bytes).substr(start, end - start));
            eepromChanged = board_.takeEepromChanged();
            lines = board_.lineCount();
        }
        loaded = loaded || (reply.starts_with("OK ") && !reply.starts_with("OK W"));
        start = end;
        if (eepromChanged && !options_.eepromPath.empty()) {
            try {
                saveEeprom(options_.eepromPath, eeprom());
            } catch (const std::exception& error) {
                std::fprintf(stderr, "kelvane-board-sim: %s\n", error.what());
            }
        }
        const Faults& faults = options_.faults;
        if (faults.silentAfterLines == 0 || lines <= faults.silentAfterLines) replies += reply;
        if (faults.hangupAfterLines > 0 && lines >= faults.hangupAfterLines) {
            record(now, true, bytes);
            closeTerminal();
            return;
        }
        if (faults.floodBytes > 0 && !flooded_ && lines >= 1) {
            flooded_ = true;
            floodLeft_ = faults.floodBytes;
        }
    }
    record(now, true, bytes, loaded ? outputHz(registers(), options_.referenceMhz) : std::nullopt);
    if (options_.faults.noReply || replies.empty()) return;
    if (options_.faults.garbage) replies = garbageBytes + replies;
    scheduled_.push_back({now + options_.faults.slowReplySeconds, replies});
}

void PtyBoard::writePending(double now) {
    const ssize_t count = ::write(master_, outgoing_.data(), outgoing_.size());
    if (count < 0) {
        if (errno != EAGAIN && errno != EINTR) closeTerminal();
        return;
    }
    record(now, false, outgoing_.substr(0, static_cast<std::size_t>(count)));
    outgoing_.erase(0, static_cast<std::size_t>(count));
}

void PtyBoard::record(double time, bool fromHost, const std::string& bytes,
                      std::optional<double> outputHz) {
    if (log_) {
        writeJsonLine(log_, time, fromHost ? "rx" : "tx", bytes, outputHz);
        std::fflush(log_);
    }
    std::lock_guard lock(mutex_);
    chunks_.push_back({time, fromHost, bytes, outputHz});
}

void PtyBoard::closeTerminal() {
    if (master_ < 0) return;
    // Marked and logged first: whoever sees the hang-up must find it recorded.
    hungUp_ = true;
    if (log_) {
        writeJsonLine(log_, monotonicSeconds(), "hangup", {});
        std::fflush(log_);
    }
    ::close(master_);
    ::close(slave_);
    master_ = slave_ = -1;
}

} // namespace kelvane::sim
