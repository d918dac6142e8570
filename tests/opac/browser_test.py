#!/usr/bin/python3
"""The catalogue's pages in a real browser: Debian's chromium, headless,
driven by chromium-driver through python3-selenium. On the demo school it
searches, opens a book, turns ふりがなモード on and off, at tablet sizes
(1024x768, 810x1080) and a phone's width (390x844), once with JavaScript
off, and saves a screenshot of each step into --shots.

    browser_test.py --opac PROGRAM --admin PROGRAM --shots DIR

Prints "N passed, N failed" last; exits 1 on a failure.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SIZES = {"tablet": (1024, 768), "tablet-portrait": (810, 1080), "phone": (390, 844)}
# A word for each size: kanji; katakana for titles in hiragana; hiragana for
# the authors' readings stored in half-width katakana.
WORDS = {"tablet": "恐竜", "tablet-portrait": "ネコ", "phone": "おがわ"}
checks = {"passed": 0, "failed": 0}


def check(ok, what):
    checks["passed" if ok else "failed"] += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)


def start_catalogue(opac, admin, work):
    data = os.path.join(work, "school")
    os.makedirs(data)
    subprocess.run([admin, "demo", data], check=True, stdout=subprocess.DEVNULL)
    log = open(os.path.join(work, "opac.log"), "w+")
    process = subprocess.Popen(
        [opac, data, "--listen", "127.0.0.1:0", "--index", os.path.join(work, "index.sqlite"),
         "--name", "さくら小学校"], stdout=log, stderr=log)
    for _ in range(100):
        log.seek(0)
        found = re.search(r"http://127\.0\.0\.1:(\d+)/", log.read())
        if found:
            return process, "http://127.0.0.1:%s" % found.group(1)
        if process.poll() is not None:
            break
        time.sleep(0.1)
    log.seek(0)
    raise RuntimeError("kashidashi-opac did not start:\n" + log.read())


def browser(work, name, javascript=True):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--hide-scrollbars",
                 "--user-data-dir=" + os.path.join(work, "profile-" + name)):
        options.add_argument(flag)
    if not javascript:
        options.add_experimental_option(
            "prefs", {"profile.managed_default_content_settings.javascript": 2})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def set_size(driver, width, height):
    # The window is sized so that its viewport is width x height.
    driver.set_window_size(width, height)
    inner = driver.execute_script("return [window.innerWidth, window.innerHeight]")
    driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])


def shot(driver, shots, name):
    driver.save_screenshot(os.path.join(shots, name + ".png"))


def search(driver, base, words):
    driver.get(base + "/")
    box = driver.find_element(By.NAME, "q")
    box.send_keys(words)
    box.send_keys(Keys.ENTER)


def fits(driver):
    return driver.execute_script(
        "return document.documentElement.scrollWidth <= window.innerWidth")


def touch_targets(driver):
    # The smallest height of the search button and the menu's links.
    return driver.execute_script(
        "return Math.min(...[...document.querySelectorAll('button, nav.menu a, a.switch')]"
        ".map(e => e.getBoundingClientRect().height))")


def run(args, work):
    process, base = start_catalogue(args.opac, args.admin, work)
    try:
        driver = browser(work, "js")
        try:
            for size, (width, height) in SIZES.items():
                set_size(driver, width, height)
                search(driver, base, WORDS[size])
                count = driver.find_element(By.CSS_SELECTOR, "p.count").text
                check("件見つかりました" in count, size + ": " + WORDS[size] + " finds books (" + count + ")")
                check(fits(driver), size + ": the results fit the width")
                check(touch_targets(driver) >= 44, size + ": buttons and links are 44px or taller")
                shot(driver, args.shots, "opac-search-" + size)
                driver.find_element(By.CSS_SELECTOR, "ol.results a.title").click()
                states = [e.text for e in driver.find_elements(By.CSS_SELECTOR, "table.copies .state")]
                check(states and all(re.match(r"貸出できます|貸出中|禁帯出", s) for s in states),
                      size + ": the book shows each copy's state " + str(states))
                check(fits(driver), size + ": the book page fits the width")
                shot(driver, args.shots, "opac-book-" + size)

            set_size(driver, *SIZES["tablet-portrait"])
            driver.find_element(By.CSS_SELECTOR, "a.switch").click()
            rubies = driver.find_elements(By.TAG_NAME, "ruby")
            check(len(rubies) > 5, "ふりがなモード: readings over the texts (%d)" % len(rubies))
            check(touch_targets(driver) >= 56, "ふりがなモード: larger touch targets")
            shot(driver, args.shots, "opac-furigana-book-tablet-portrait")
            driver.get(base + "/?q=" + urllib.parse.quote("ねこ"))
            check(driver.find_elements(By.TAG_NAME, "ruby") != [], "ふりがなモード: remembered on the next page")
            shot(driver, args.shots, "opac-furigana-search-tablet-portrait")
            driver.find_element(By.CSS_SELECTOR, "a.switch").click()
            check(driver.find_elements(By.TAG_NAME, "ruby") == [], "ふりがなモード: turned off again")
        finally:
            driver.quit()

        plain = browser(work, "nojs", javascript=False)
        try:
            set_size(plain, *SIZES["tablet"])
            search(plain, base, "恐竜")
            titles = plain.find_elements(By.CSS_SELECTOR, "ol.results a.title")
            check(len(titles) > 0, "without JavaScript: the search works")
            titles[0].click()
            check(plain.find_elements(By.CSS_SELECTOR, "table.copies") != [],
                  "without JavaScript: the book page opens")
        finally:
            plain.quit()
    finally:
        process.terminate()
        process.wait(10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--opac", required=True)
    parser.add_argument("--admin", required=True)
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()
    os.makedirs(args.shots, exist_ok=True)
    work = tempfile.mkdtemp(prefix="kx-opac-browser-")
    try:
        run(args, work)
    except Exception as error:  # a failure to start is a failed test, not a crash
        check(False, "the browser test ran: %r" % error)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d passed, %d failed" % (checks["passed"], checks["failed"]))
    return 1 if checks["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
