#pragma once

/** Heap allocations made on the calling thread so far, by any code in the process, the plug-in
    library included: the host program replaces the global allocation functions with counting
    ones. Built into the larkspur-host program only. In sanitizer builds the sanitizer owns the C
    allocation functions, so only operator new is counted there. */
long allocationsOnThisThread() noexcept;
