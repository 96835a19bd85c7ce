#pragma once

namespace vistrel {

// The wait cursor of the link's work, shared by all who show it: however many of them hold it at
// once (the link running an operation aside, Halvex32 during its exchange), one cursor is pushed
// and it goes when the last lets go. GUI thread only.
class BusyCursor {
public:
    static void hold();
    static void release(); // pairs with one hold(); without one held it does nothing

    // Held for as long as this lives.
    class Scope {
    public:
        Scope() { hold(); }
        ~Scope() { release(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
};

} // namespace vistrel
