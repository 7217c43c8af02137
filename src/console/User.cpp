#include "console/User.h"

#include <vector>

namespace kavel {

std::vector<Answer> answersOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return {Answer::Ok};
    case Buttons::OkCancel:
        return {Answer::Ok, Answer::Cancel};
    case Buttons::YesNo:
        return {Answer::Yes, Answer::No};
    case Buttons::YesNoCancel:
        return {Answer::Yes, Answer::No, Answer::Cancel};
    case Buttons::RetryCancel:
        return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

Answer defaultAnswer(const MessageBox& box) {
    const auto answers = answersOf(box.buttons);
    const auto i = static_cast<std::size_t>(box.defaultButton);
    return i < answers.size() ? answers[i] : answers.front();
}

} // namespace kavel
