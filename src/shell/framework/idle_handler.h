#pragma once
// Work done whenever a thread's message queue runs empty.

// Called on the thread whose message loop the handler is registered with.
class CIdleHandler {
 public:
  // False when there is no more idle work until the next message arrives.
  virtual bool OnIdle() = 0;

 protected:
  ~CIdleHandler() = default;
};
