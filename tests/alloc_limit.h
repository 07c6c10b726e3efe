// Lets a test make the code's allocations fail: a test program that compiles
// alloc_limit.cpp has new (std::nothrow) return null once `allowed` more
// allocations have been made, for as long as the AllocationLimit lives.
#pragma once

class AllocationLimit {
public:
    explicit AllocationLimit(int allowed);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit &) = delete;
    AllocationLimit &operator=(const AllocationLimit &) = delete;
};
