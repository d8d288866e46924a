#include "platform/jet/JetLike.h"

#include <QChar>
#include <QList>

#include "platform/jet/JetError.h"

namespace jet {

namespace {

[[noreturn]] void invalidPattern(QStringView pattern, const char* why)
{
    throw JetError(errors::kInvalidPattern, QStringLiteral("Invalid pattern string \"%1\": %2")
                                                .arg(pattern.toString(), QLatin1String(why)));
}

} // namespace

LikePattern::LikePattern(QStringView pattern)
{
    const QList<uint> cps = pattern.toUcs4();
    for (qsizetype i = 0; i < cps.size(); ++i) {
        const char32_t c = cps[i];
        switch (c) {
        case U'*':
            // Consecutive stars are one star.
            if (m_tokens.empty() || m_tokens.back().kind != Token::Kind::Star)
                m_tokens.emplace_back(Token::Kind::Star);
            break;
        case U'?': m_tokens.emplace_back(Token::Kind::Any); break;
        case U'#': m_tokens.emplace_back(Token::Kind::Digit); break;
        case U'[': {
            qsizetype j = i + 1;
            Token set(Token::Kind::Set);
            if (j < cps.size() && cps[j] == U'!' && j + 1 < cps.size() && cps[j + 1] != U']') {
                set.negated = true;
                ++j;
            }
            while (j < cps.size() && cps[j] != U']') {
                char32_t low = cps[j];
                char32_t high = low;
                if (j + 2 < cps.size() && cps[j + 1] == U'-' && cps[j + 2] != U']') {
                    high = cps[j + 2];
                    if (high < low)
                        invalidPattern(pattern, "a range runs backwards");
                    j += 2;
                }
                set.ranges.emplace_back(low, high);
                ++j;
            }
            if (j >= cps.size())
                invalidPattern(pattern, "'[' has no closing ']'");
            // "[]" matches nothing and takes no character.
            if (!set.ranges.empty() || set.negated)
                m_tokens.push_back(std::move(set));
            i = j;
            break;
        }
        default: m_tokens.emplace_back(Token::Kind::Literal, c); break;
        }
    }
}

bool LikePattern::matchesToken(const Token& token, char32_t c) const
{
    switch (token.kind) {
    case Token::Kind::Literal: return token.literal == c;
    case Token::Kind::Any: return true;
    case Token::Kind::Digit: return QChar::isDigit(c);
    case Token::Kind::Set: {
        bool inSet = false;
        for (const auto& [low, high] : token.ranges) {
            if (c >= low && c <= high) {
                inSet = true;
                break;
            }
        }
        return inSet != token.negated;
    }
    case Token::Kind::Star: break;
    }
    return false;
}

bool LikePattern::matches(QStringView text) const
{
    // Every token but the star takes exactly one character, so resuming from the last star
    // on a mismatch finds a match if there is one, in linear-times-stars steps.
    const QList<uint> cps = text.toUcs4();
    const size_t tokenCount = m_tokens.size();
    const size_t length = size_t(cps.size());
    size_t t = 0, p = 0;
    size_t starToken = SIZE_MAX, starText = 0;
    while (p < length) {
        if (t < tokenCount && m_tokens[t].kind == Token::Kind::Star) {
            starToken = t++;
            starText = p;
        } else if (t < tokenCount && matchesToken(m_tokens[t], cps[qsizetype(p)])) {
            ++t;
            ++p;
        } else if (starToken != SIZE_MAX) {
            t = starToken + 1;
            p = ++starText;
        } else {
            return false;
        }
    }
    while (t < tokenCount && m_tokens[t].kind == Token::Kind::Star)
        ++t;
    return t == tokenCount;
}

bool likeMatch(QStringView pattern, QStringView text)
{
    return LikePattern(pattern).matches(text);
}

} // namespace jet
