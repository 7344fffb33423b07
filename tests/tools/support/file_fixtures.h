// What the tests of the file commands (`varnel info`, `varnel actor`) share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

inline const std::string GoldenActor = VARNEL_SOURCE_DIR "/tests/data/golden/actor/";

// What a command printed.
struct Output {
    std::ostringstream out, errors;
};

// Text through a pipe, as `cat FILE | varnel info /dev/stdin` gives it, in
// pieces of PIPE_BUF bytes, which a reader receives whole; endless text
// repeats until the reading side is closed.
class PipeFeed {
  public:
    PipeFeed(const std::string& text, bool endless)
    {
        EXPECT_EQ(pipe(ends), 0);
        writer = std::thread([this, text, endless] {
            // A reader that stops early must not end the test.
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            while (WriteInPieces(text) && endless) {
            }
            close(ends[1]);
        });
    }
    ~PipeFeed()
    {
        close(ends[0]);
        writer.join();
    }
    std::string Path() const { return "/dev/fd/" + std::to_string(ends[0]); }

  private:
    bool WriteInPieces(const std::string& text)
    {
        for (size_t at = 0; at < text.size(); at += PIPE_BUF) {
            size_t size = std::min<size_t>(PIPE_BUF, text.size() - at);
            if (write(ends[1], text.data() + at, size) != ssize_t(size))
                return false;
        }
        return true;
    }

    int ends[2] = {-1, -1};
    std::thread writer;
};
