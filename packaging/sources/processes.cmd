@echo off
rem A Kwivo source: the running programs whose lines in the task list hold
rem the words typed after its name, each with the command that ends it (and
rem the programs it started). In kwivo.ini:
rem   [sources]
rem   kill=sources\processes.cmd %s
rem A batch file never gets the words on its command line, only in
rem KWIVO_WORDS. Read them as !KWIVO_WORDS!, with delayed expansion, which
rem cmd does not parse again; %KWIVO_WORDS% would run "a & b" as two commands.
rem Each line printed: a title, a tab, what Enter starts, a tab, and where it
rem leads.
setlocal EnableExtensions EnableDelayedExpansion
chcp 65001 >nul
rem findstr reads the words from a file, so that they are never parsed; a
rem file of its line break alone means no words: every program.
set "words=%TEMP%\kwivo-processes-%RANDOM%.txt"
>"%words%" echo.!KWIVO_WORDS!
for %%f in ("%words%") do set "size=%%~zf"
if !size! GTR 2 goto filtered
for /f "tokens=1,2 delims=," %%a in ('tasklist /fo csv /nh') do (
    echo.%%~a	taskkill /pid %%~b /t /f	end process %%~b
)
goto done
:filtered
for /f "tokens=1,2 delims=," %%a in ('tasklist /fo csv /nh ^| findstr /i /l /g:"%words%"') do (
    echo.%%~a	taskkill /pid %%~b /t /f	end process %%~b
)
:done
del "%words%" 2>nul
