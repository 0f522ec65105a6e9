#ifndef KAV_SJIS_OUTCOME_H_
#define KAV_SJIS_OUTCOME_H_

#include <string>
#include <utility>
#include <variant>

namespace sjis {

// Every way a run of either program ends. Usage is the -1 of the command line, which a
// POSIX shell shows as 255.
enum class ExitStatus : int { Success = 0, Failure = 1, Usage = 255 };

// Why a phase stopped the run: the message to print (code page 932 bytes, LF line ends;
// empty for the failures that print nothing) and the exit status.
struct Failure {
  std::string message;
  ExitStatus status = ExitStatus::Failure;
};

// The result of a phase: a value, or the failure that ends the run. Only the top of a
// program prints the message and picks the exit status.
template <typename T>
class Outcome {
 public:
  Outcome(T value) : state_(std::move(value)) {}        // NOLINT(google-explicit-constructor)
  Outcome(Failure failure) : state_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return state_.index() == 0; }
  T& value() { return std::get<0>(state_); }
  const T& value() const { return std::get<0>(state_); }
  const Failure& failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace sjis

#endif  // KAV_SJIS_OUTCOME_H_
