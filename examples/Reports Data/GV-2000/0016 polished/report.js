// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 16,
  reportType: "RT_POLISH",
  dateTime: "2025-05-21 17:52:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.92 ct"],
    ["Measurements", "7.90 × 7.94 × 4.90 mm"],
    ["Colour grade", "E"],
    ["Clarity grade", "VS2"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
