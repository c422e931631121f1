# A Kwivo source: the open windows whose titles hold the words typed after
# its name; Enter brings the chosen one forward. In kwivo.ini:
#   [sources]
#   win=powershell.exe -NoProfile -ExecutionPolicy Bypass -File sources\windows.ps1 %s
# The words arrive as one argument, exactly as typed (and in KWIVO_WORDS).
# Each line printed: a title, a tab, what Enter starts, a tab, and where it
# leads.
param([string]$Words = '')

# UTF-8 without a byte order mark, whatever the console's code page.
[Console]::OutputEncoding = New-Object System.Text.UTF8Encoding $false

$activate = 'powershell.exe -NoProfile -WindowStyle Hidden -Command "(New-Object -ComObject WScript.Shell).AppActivate({0})"'
Get-Process | Where-Object {
    $_.MainWindowTitle -and $_.MainWindowTitle.IndexOf($Words, [StringComparison]::OrdinalIgnoreCase) -ge 0
} | ForEach-Object {
    # A tab or a line break in a title would start another field or line.
    $title = $_.MainWindowTitle -replace '[\t\r\n]', ' '
    '{0}{1}{2}{1}{3}' -f $title, "`t", ($activate -f $_.Id), $_.ProcessName
}
