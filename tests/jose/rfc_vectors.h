#pragma once

// Published examples: RFC 7515 Appendix A (A.1 HS256, A.2 RS256, A.3 ES256,
// A.4 ES512) and RFC 7519 section 3.1.

#include <string_view>

namespace quorvane::jose::testing {

// The header {"typ":"JWT",CRLF "alg":"HS256"} and the claims
// {"iss":"joe",CRLF "exp":1300819380,CRLF "http://example.com/is_root":true}
// exactly as the RFCs encode them (with their line breaks).
inline constexpr std::string_view kA1HeaderJson = "{\"typ\":\"JWT\",\r\n \"alg\":\"HS256\"}";
inline constexpr std::string_view kA1PayloadJson =
    "{\"iss\":\"joe\",\r\n \"exp\":1300819380,\r\n \"http://example.com/is_root\":true}";
inline constexpr std::string_view kA1Header = "eyJ0eXAiOiJKV1QiLA0KICJhbGciOiJIUzI1NiJ9";
inline constexpr std::string_view kA1Payload =
    "eyJpc3MiOiJqb2UiLA0KICJleHAiOjEzMDA4MTkzODAsDQogImh0dHA6Ly9leGFtcGxlLmNvbS9pc19yb290Ijp0cnVlf"
    "Q";
inline constexpr std::string_view kA1Key =
    "AyM1SysPpbyDfgZld3umj1qzKObwVMkoqQ-EstJQLr_T-1qS0gZH75aKtMN3Yj0iPS4hcgUuTwjAzZr1Z9CAow";
inline constexpr std::string_view kA1Signature = "dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk";

inline constexpr std::string_view kA2Header = "eyJhbGciOiJSUzI1NiJ9";  // {"alg":"RS256"}
inline constexpr std::string_view kA2N =
    "ofgWCuLjybRlzo0tZWJjNiuSfb4p4fAkd_wWJcyQoTbji9k0l8W26mPddxHmfHQp-Vaw-4qPCJrcS2mJPMEzP1Pt0Bm4d4"
    "QlL-yRT-SFd2lZS-pCgNMsD1W_YpRPEwOWvG6b32690r2jZ47soMZo9wGzjb_7OMg0LOL-bSf63kpaSHSXndS5z5rexMd"
    "bBYUsLA9e-KXBdQOS-UTo7WTBEMa2R2CapHg665xsmtdVMTBQY4uDZlxvb3qCo5ZwKh9kG4LT6_I5IhlJH7aGhyxXFvUK"
    "-DWNmoudF8NAco9_h9iaGNj8q2ethFkMLs91kzk2PAcDTW9gb54h4FRWyuXpoQ";
inline constexpr std::string_view kA2E = "AQAB";
inline constexpr std::string_view kA2Signature =
    "cC4hiUPoj9Eetdgtv3hF80EGrhuB__dzERat0XF9g2VtQgr9PJbu3XOiZj5RZmh7AAuHIm4Bh-0Qc_lF5YKt_O8W2Fp5"
    "jujGbds9uJdbF9CUAr7t1dnZcAcQjbKBYNX4BAynRFdiuB--f_nZLgrnbyTyWzO75vRK5h6xBArLIARNPvkSjtQBMHlb1"
    "L07Qe7K0GarZRmB_eSN9383LcOLn6_dO--xi12jzDwusC-eOkHWEsqtFZESc6BfI7noOPqvhJ1phCnvWh6IeYI2w9QOYE"
    "UipUTI8np6LbgGY9Fs98rqVt5AXLIhWkWywlVmtVrBp0igcN_IoypGlUPQGe77Rw";

inline constexpr std::string_view kA3Header = "eyJhbGciOiJFUzI1NiJ9";  // {"alg":"ES256"}
inline constexpr std::string_view kA3X = "f83OJ3D2xF1Bg8vub9tLe1gHMzV76e8Tus9uPHvRVEU";
inline constexpr std::string_view kA3Y = "x_FEzRu9m36HLN_tue659LNpXW6pCyStikYjKIWI5a0";
inline constexpr std::string_view kA3Signature =
    "DtEhU3ljbEg8L38VWAfUAqOyKAM6-Xx-F4GawxaepmXFCgfTjDxw5djxLa8ISlSApmWQxfKTUJqPP3-Kg6NU1Q";

inline constexpr std::string_view kA4Header = "eyJhbGciOiJFUzUxMiJ9";  // {"alg":"ES512"}
inline constexpr std::string_view kA4Payload = "UGF5bG9hZA";           // "Payload"
inline constexpr std::string_view kA4X =
    "AekpBQ8ST8a8VcfVOTNl353vSrDCLLJXmPk06wTjxrrjcBpXp5EOnYG_NjFZ6OvLFV1jSfS9tsz4qUxcWceqwQGk";
inline constexpr std::string_view kA4Y =
    "ADSmRA43Z1DSNx_RvcLI87cdL07l6jQyyBXMoxVg_l2Th-x3S1WDhjDly79ajL4Kkd0AZMaZmh9ubmf63e3kyMj2";
inline constexpr std::string_view kA4Signature =
    "AdwMgeerwtHoh-l192l60hp9wAHZFVJbLfD_UxMi70cwnZOYaRI1bKPWROc-mZZqwqT2SI-KGDKB34XO0aw_7XdtAG8Ga"
    "SwFKdCAPZgoXD2YBJZCPEX3xKpRwcdOO8KpEHwJjyqOgzDO7iKvU8vcnwNrmxYbSW9ERBXukOXolLzeO_Jn";

}  // namespace quorvane::jose::testing
