#pragma once
// The framework's exception classes. Every exception the system raises or sees
// derives from RuntimeException.
#include <cstdint>
#include <exception>
#include <string>

class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message = {}, int32_t errorNumber = 0)
      : message_(std::move(message)), errorNumber_(errorNumber) {}
  const std::string& Message() const { return message_; }
  int32_t ErrorNumber() const { return errorNumber_; }
  virtual const char* ClassName() const { return "RuntimeException"; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
  int32_t errorNumber_;
};

// A Nil reference was used.
class NilObjectException : public RuntimeException {
 public:
  explicit NilObjectException(std::string message = "A Nil object was used.")
      : RuntimeException(std::move(message)) {}
  const char* ClassName() const override { return "NilObjectException"; }
};

// A class-testing downcast found an object of another class.
class IllegalCastException : public RuntimeException {
 public:
  explicit IllegalCastException(std::string message) : RuntimeException(std::move(message)) {}
  const char* ClassName() const override { return "IllegalCastException"; }
};

// A picture could not be made (its size is out of range or memory ran out).
class OutOfMemoryException : public RuntimeException {
 public:
  explicit OutOfMemoryException(std::string message) : RuntimeException(std::move(message)) {}
  const char* ClassName() const override { return "OutOfMemoryException"; }
};
