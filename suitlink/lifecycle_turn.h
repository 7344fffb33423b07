// VarnelInit, VarnelFindSuits and VarnelFinish stop and join the receive
// thread, wait for timeout threads and free the table. Any client thread may
// call them at any moment, so they take turns: one does the work, the
// others wait until it is done.
#pragma once

class LifecycleTurn {
  public:
    // Waits for the turn. A library thread (the receive thread in a frame
    // callback, a timeout thread) never waits: whoever holds the turn may be
    // waiting for that very thread, so it gets no turn while another holds
    // one, and the receive thread, which cannot stop itself, gets none ever.
    LifecycleTurn();
    ~LifecycleTurn();
    LifecycleTurn(const LifecycleTurn&) = delete;
    LifecycleTurn& operator=(const LifecycleTurn&) = delete;

    // Whether this caller may go on; false: return at once.
    bool Taken() const { return taken; }

  private:
    bool taken = false;
};
