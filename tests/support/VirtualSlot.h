#pragma once

#include <gtest/gtest.h>

#include <cstring>

// The host and the plug-in agree on interfaces by the places of their virtual operations. With
// the Itanium ABI a pointer to a virtual member holds 1 + its byte offset in the virtual table,
// so the place of an operation can be read from it.
template <typename MemberPointer>
long slotOf (MemberPointer member)
{
    static_assert (sizeof (MemberPointer) >= sizeof (long));
    long encoded = 0;
    std::memcpy (&encoded, &member, sizeof (encoded));
    EXPECT_EQ (encoded % long (sizeof (void*)), 1) << "not a virtual operation";
    return (encoded - 1) / long (sizeof (void*));
}
