// Keeps the library non-empty until the request routine lands.
