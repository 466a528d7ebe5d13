This is not a spectrum but a text that someone renamed.
This is not a spectrum but a text that someone renamed.
This is not a spectrum but a text that someone renamed.
This is not a spectrum but a text that someone renamed.
