#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>

// The number of database connections the server keeps open at once, shared
// by all its client connections. A connection of QtSql belongs to the
// thread that opened it, so each client connection opens its own; the pool
// hands out the right to one (a slot). A slot is taken for a call and kept
// afterwards only while nobody waits: a client connection that waits asks
// the longest-idle holder to give its slot back, and slots go to those who
// wait in the order they came. Thread-safe.
class DatabasePool final {
public:
    // Whoever holds a slot between its calls.
    class Holder {
    public:
        // Asks for the slot back. Called with the pool's lock held, from any
        // thread: it must only post the request to the holder's own thread,
        // which then calls giveBack() unless it is running a call.
        virtual void askToGiveBack() = 0;

    protected:
        ~Holder() = default;
    };

    explicit DatabasePool(int size) : m_size(size) {}
    int size() const { return m_size; }

    // A slot for `holder`, which holds none, waiting up to `waitMs`; false
    // when none came free in that time.
    bool take(Holder *holder, int waitMs);
    // The holder, between calls with its slot, starts a call: false when it
    // was asked to give the slot back, which it must then do before taking
    // one again, so that the one who asked gets it first.
    bool resume(Holder *holder);
    // The holder's call ended; it keeps its slot until asked for it.
    void pause(Holder *holder);
    // Whether the holder, between calls, was asked for its slot.
    bool askedBack(Holder *holder);
    // The holder closed its connection: its slot is free.
    void giveBack(Holder *holder);

private:
    const int m_size;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_taken = 0;
    std::deque<Holder *> m_idle;    // holding a slot between calls, longest idle first
    std::set<Holder *> m_askedBack; // between calls, asked for their slot
    std::deque<Holder *> m_waiting; // in the order they came
};
